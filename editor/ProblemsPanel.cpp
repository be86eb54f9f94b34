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

void ProblemsModel::SetReport(std::shared_ptr<const CheckReport> report) {
    beginResetModel();
    report_ = std::move(report);
    endResetModel();
}

int ProblemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !report_ ? 0 : static_cast<int>(report_->Size());
}

QVariant ProblemsModel::data(const QModelIndex& index, int role) const {
    if (!report_ || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(report_->Text(row));
    case Qt::ForegroundRole: {
        static const QBrush error(QColor(0xb7, 0x1c, 0x1c));
        static const QBrush warning(QColor(0x8d, 0x5a, 0x00));
        return report_->SeverityAt(row) == kit::Severity::Error ? error : warning;
    }
    default:
        return {};
    }
}

ProblemsPanel::ProblemsPanel(QWidget* parent) : QListView(parent), model_(new ProblemsModel(this)) {
    setObjectName("Problemy");
    setAccessibleName(tr("Problemy"));
    setModel(model_);
    // One line a finding, as the toolkit prints it: every row is as high as the first, so the view never
    // measures a hundred thousand of them; the whole text is in the row's tip.
    setUniformItemSizes(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit Activated(Location(index.row()));
        }
    });
}

QString ProblemsPanel::Text(int row) const {
    return model_->data(model_->index(row), Qt::DisplayRole).toString();
}

ProblemLocation ProblemsPanel::Location(int row) const {
    const CheckReport* report = model_->Report();
    ProblemLocation where;
    if (report == nullptr || row < 0 || static_cast<std::size_t>(row) >= report->Size()) {
        return where;
    }
    const auto i = static_cast<std::size_t>(row);
    if (report->LineAt(i) > 0) {
        where.line = report->LineAt(i);
    } else {
        where.record = report->RecordAt(i);
        where.field = FieldOfMessage(report->MessageAt(i));
    }
    return where;
}

void ProblemsPanel::Show(std::shared_ptr<const CheckReport> report) {
    const int keep = currentIndex().row();
    if (report->Empty()) {
        summary_ = tr("Brak problemów");
    } else {
        summary_ =
            QString::fromStdString(kit::Count(report->errors, "błąd", "błędy", "błędów") + ", " +
                                   kit::Count(report->warnings, "ostrzeżenie", "ostrzeżenia", "ostrzeżeń"));
    }
    model_->SetReport(std::move(report));
    setAccessibleDescription(summary_);
    if (keep >= 0 && keep < Count()) {
        setCurrentIndex(model_->index(keep));
    }
}

} // namespace editor
