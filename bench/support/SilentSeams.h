#pragma once
// The game window's seams for benchmarks: messages are kept to report as an error, sound goes nowhere.

#include "platform/MediaPlayer.h"
#include "platform/Messages.h"

#include <QStringList>

namespace bench {

class KeptMessages : public platform::IMessages {
  public:
    void ShowMessage(const QString& text) override { log << text; }
    void ShowError(const QString& text) override { log << text; }
    QStringList log;
};

class SilentMediaPlayer : public platform::IMediaPlayer {
  public:
    void Open(const QString&) override {}
    void Play() override {}
    void Close() override {}
};

} // namespace bench
