#include "editor/StepListModel.h"

#include <algorithm>

#include "editor/core/StepFilter.h"

#include <QBrush>
#include <QColor>

namespace editor {

StepListModel::StepListModel(const StoryDocument& document, QObject* parent)
    : QAbstractListModel(parent), document_(document), rows_(static_cast<int>(document.StepCount())) {}

int StepListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QString StepListModel::Caption(std::size_t index) const {
    const StepView& step = document_.Step(index);
    QString caption = QString::number(step.number) + QStringLiteral(": ") + QString::fromStdString(step.name);
    QStringList marks;
    const std::uint8_t m = marks_.Of(step.number);
    if (m & MarkStart) {
        marks << tr("początek");
    }
    if (m & MarkEnding) {
        marks << tr("zakończenie");
    }
    if (m & MarkTrap) {
        marks << tr("pułapka");
    }
    if (m & MarkUnreachable) {
        marks << tr("nieosiągalny");
    }
    if (m & MarkProblem) {
        marks << tr("problemy");
    }
    if (!marks.isEmpty()) {
        caption += QStringLiteral(" (") + marks.join(QStringLiteral(", ")) + u')';
    }
    return caption;
}

QVariant StepListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) {
        return {};
    }
    const std::size_t i = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return Caption(i);
    case Qt::ForegroundRole: {
        const std::uint8_t m = marks_.Of(document_.Step(i).number);
        if (m & (MarkTrap | MarkProblem)) {
            return QBrush(QColor(0xb7, 0x1c, 0x1c));
        }
        if (m & MarkUnreachable) {
            return QBrush(QColor(0x75, 0x75, 0x75));
        }
        return {};
    }
    default:
        return {};
    }
}

void StepListModel::Refresh() {
    const int rows = static_cast<int>(document_.StepCount());
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0) {
        emit dataChanged(index(0), index(rows_ - 1));
    }
}

void StepListModel::RefreshStep(std::size_t index) {
    if (static_cast<int>(document_.StepCount()) != rows_) {
        Refresh();
        return;
    }
    const QModelIndex row = this->index(static_cast<int>(index));
    emit dataChanged(row, row);
}

void StepListModel::SetMarks(StepMarks marks) {
    // Only the rows whose marks changed are told: a keystroke changes one step's marks, or none.
    int first = rows_;
    int last = -1;
    const int rows = std::min(rows_, static_cast<int>(document_.StepCount()));
    for (int row = 0; row < rows; ++row) {
        const std::int64_t record = document_.Step(static_cast<std::size_t>(row)).number;
        if (marks.Of(record) != marks_.Of(record)) {
            first = std::min(first, row);
            last = row;
        }
    }
    marks_ = std::move(marks);
    if (first <= last) {
        emit dataChanged(index(first), index(last));
    }
}

StepFilterModel::StepFilterModel(const StoryDocument& document, QObject* parent)
    : QSortFilterProxyModel(parent), document_(document) {
    // Filtered again when the query changes, not on every keystroke in a step.
    setDynamicSortFilter(false);
}

void StepFilterModel::SetQuery(const QString& query) {
    folded_ = FoldForSearch(query.trimmed().toStdString());
    invalidateFilter();
}

bool StepFilterModel::filterAcceptsRow(int row, const QModelIndex&) const {
    return folded_.empty() || (static_cast<std::size_t>(row) < document_.StepCount() &&
                               StepMatches(document_.Step(static_cast<std::size_t>(row)), folded_));
}

} // namespace editor
