#pragma once
// The editor's questions as message boxes and file dialogs.

#include "editor/Questions.h"

#include <QWidget>

namespace editor {

class QtQuestions : public IQuestions {
  public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    Answer Ask(const QString& question, bool cancellable) override;
    void Tell(const QString& message) override;
    QString OpenPath(const QString& folder) override;
    QString SavePath(const QString& suggested) override;
    std::optional<long long> Number(const QString& question, long long value) override;

  private:
    QWidget* parent_ = nullptr;
};

} // namespace editor
