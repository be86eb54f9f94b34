#include "editor/QtQuestions.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace editor {

IQuestions::Answer QtQuestions::Ask(const QString& question, bool cancellable) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (cancellable) {
        buttons |= QMessageBox::Cancel;
    }
    const auto answer = QMessageBox::question(parent_, QStringLiteral("przygoda-edytor"), question, buttons,
                                              QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        return Answer::Yes;
    }
    return answer == QMessageBox::No ? Answer::No : Answer::Cancel;
}

void QtQuestions::Tell(const QString& message) {
    QMessageBox::warning(parent_, QStringLiteral("przygoda-edytor"), message);
}

QString QtQuestions::OpenPath(const QString& folder) {
    return QFileDialog::getOpenFileName(parent_, QObject::tr("Otwórz historię albo scenariusz"), folder,
                                        QObject::tr("Historie i scenariusze (*.txt *.Kro *.kro *.KRO);;"
                                                    "Wszystkie pliki (*)"));
}

QString QtQuestions::SavePath(const QString& suggested) {
    // The editor asks itself before replacing a file, in its own words.
    return QFileDialog::getSaveFileName(parent_, QObject::tr("Zapisz historię"), suggested,
                                        QObject::tr("Historie (*.txt)"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

std::optional<long long> QtQuestions::Number(const QString& question, long long value) {
    bool ok = false;
    const int n = QInputDialog::getInt(parent_, QStringLiteral("przygoda-edytor"), question,
                                       static_cast<int>(value), 0, 2147483647, 1, &ok);
    return ok ? std::optional<long long>(n) : std::nullopt;
}

} // namespace editor
