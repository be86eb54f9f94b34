#pragma once
// The editor's questions for benchmarks: nobody answers, so every question gets "no" (keep nothing, save
// nothing) and every file name or number asked for is cancelled. What the editor tells is kept, to report
// as an error.

#include "editor/Questions.h"

#include <QStringList>

namespace bench {

class SilentQuestions : public editor::IQuestions {
  public:
    Answer Ask(const QString&, bool) override { return Answer::No; }
    void Tell(const QString& message) override { told << message; }
    QString OpenPath(const QString&) override { return {}; }
    QString SavePath(const QString&) override { return {}; }
    std::optional<long long> Number(const QString&, long long) override { return std::nullopt; }
    QStringList told;
};

} // namespace bench
