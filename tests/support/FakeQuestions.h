#pragma once
// The editor's questions answered by the test: each question is recorded and gets the next answer queued,
// or No when none is.

#include "editor/Questions.h"

#include <QStringList>

#include <deque>

namespace fixtures {

struct FakeQuestions : editor::IQuestions {
    QStringList asked;
    QStringList told;
    std::deque<Answer> answers;
    QString openPath;
    QString savePath;
    std::optional<long long> number;

    Answer Ask(const QString& question, bool) override {
        asked << question;
        if (answers.empty()) {
            return Answer::No;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Tell(const QString& message) override { told << message; }
    QString OpenPath(const QString&) override { return openPath; }
    QString SavePath(const QString&) override { return savePath; }
    std::optional<long long> Number(const QString&, long long) override { return number; }
};

} // namespace fixtures
