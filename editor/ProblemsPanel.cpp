#include "editor/ProblemsPanel.h"

#include "kit/Polish.h"

#include <array>
#include <utility>

namespace editor {

QString FieldOfMessage(const std::string& message) {
    // The toolkit names the field a finding is about first: "opis ma ...", "wybór 2: ...".
    static const std::array<std::pair<const char*, const char*>, 14> prefixes{{
        {"nazwa kroku", "Nazwa"},
        {"nazwa obrazu", "Obraz"},
        {"nazwa dźwięku", "Dźwięk"},
        {"brak obrazu", "Obraz"},
        {"obraz", "Obraz"},
        {"brak dźwięku", "Dźwięk"},
        {"dźwięk", "Dźwięk"},
        {"opis", "Opis"},
        {"typu", "Typ"},
        {"krok 1 ma typ", "Typ"},
        {"wybór ", "Wybór "},
        {"przycisk ", "Cel "},
        {"cel ", "Cel "},
        {"wybor ", "Wybór "},
    }};
    for (const auto& [prefix, field] : prefixes) {
        const std::string p = prefix;
        if (message.compare(0, p.size(), p) != 0) {
            continue;
        }
        QString name = QString::fromUtf8(field);
        if (name.endsWith(u' ')) {
            if (message.size() <= p.size() || message[p.size()] < '1' || message[p.size()] > '4') {
                return {};
            }
            name += QChar(message[p.size()]);
            // A target past the file or of record 0 is the target's problem, not the text's.
            if (name.startsWith(u"Wybór") && message.find("cel") != std::string::npos) {
                name = QStringLiteral("Cel ") + name.right(1);
            }
        }
        return name;
    }
    return {};
}

ProblemsPanel::ProblemsPanel(QWidget* parent) : QListWidget(parent) {
    setObjectName("Problemy");
    setAccessibleName(tr("Problemy"));
    setWordWrap(true);
    // The wrapped rows are measured a batch at a time between events: a long report shows its first
    // findings at once and never holds up typing while the rest are measured.
    setLayoutMode(QListView::Batched);
    setBatchSize(200);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = this->row(item);
        if (row >= 0 && static_cast<std::size_t>(row) < where_.size()) {
            emit Activated(where_[static_cast<std::size_t>(row)]);
        }
    });
}

void ProblemsPanel::Show(const CheckReport& report) {
    const int keep = currentRow();
    setUpdatesEnabled(false);
    clear();
    where_.clear();
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const kit::Finding& finding = report.findings[i];
        ProblemLocation where;
        if (finding.line > 0) {
            where.line = finding.line;
        } else {
            where.record = finding.record;
            where.field = FieldOfMessage(finding.message);
        }
        where_.push_back(where);
        // Made apart and then added: an item made in the list looks itself up in it, row by row, at every
        // change, which made a report of many findings take time growing with their square.
        auto* item = new QListWidgetItem(QString::fromStdString(report.lines[i]));
        item->setForeground(finding.severity == kit::Severity::Error ? QColor(0xb7, 0x1c, 0x1c)
                                                                     : QColor(0x8d, 0x5a, 0x00));
        addItem(item);
    }
    if (report.findings.empty()) {
        summary_ = tr("Brak problemów");
    } else {
        summary_ =
            QString::fromStdString(kit::Count(report.errors, "błąd", "błędy", "błędów") + ", " +
                                   kit::Count(report.warnings, "ostrzeżenie", "ostrzeżenia", "ostrzeżeń"));
    }
    setAccessibleDescription(summary_);
    if (keep >= 0 && keep < count()) {
        setCurrentRow(keep);
    }
    setUpdatesEnabled(true);
}

} // namespace editor
