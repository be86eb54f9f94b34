// The main of every test program that needs Qt: an application object on the offscreen platform.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (qgetenv("SDL_AUDIODRIVER").isEmpty()) {
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    // Settings of this process alone: Qt's file dialog writes its history when it closes, under a lock
    // file that another test process holding it makes this one wait for, backing off for seconds. This
    // also keeps a test program run by hand out of the developer's settings.
    const QTemporaryDir settings;
    if (settings.isValid()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
