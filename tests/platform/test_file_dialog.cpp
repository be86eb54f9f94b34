#include "platform/NoSettings.h"
#include "platform/QtOpenFileDialog.h"
#include "tests/support/TempDir.h"
#include "tests/support/Waits.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Whether `fileName` passes a name filter, read as QFileDialog reads it: patterns in the last parentheses.
bool Passes(const QString& filter, const QString& fileName) {
    const QString patterns = QRegularExpression(R"(\(([^()]*)\)$)").match(filter).captured(1);
    for (const QString& pattern : patterns.split(u' ', Qt::SkipEmptyParts)) {
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                .match(fileName)
                .hasMatch()) {
            return true;
        }
    }
    return false;
}

TEST(OpenFileDialogFilter, MatchesEachPatternInAnyLetterCase) {
    const QStringList filters = platform::NameFiltersFrom("Scenariusze (*.Kro)|*.Kro|Obrazy|*.bmp;*.Dib");
    ASSERT_EQ(filters.size(), 2);
    for (const char* name : {"las.KRO", "las.kro", "ŁĄKA.kRo"}) {
        EXPECT_TRUE(Passes(filters[0], QString::fromUtf8(name))) << name;
    }
    for (const char* name : {"x.txt", "las.kro.txt", "a.bmp"}) {
        EXPECT_FALSE(Passes(filters[0], name)) << name;
    }
    EXPECT_TRUE(Passes(filters[1], "a.DIB") && Passes(filters[1], "a.Bmp") && !Passes(filters[1], "a.kro"));
}

class OpenFileDialogTest : public ::testing::Test {
  protected:
    // Execute, while `drive` works the open dialog.
    bool Run(const std::function<void(QFileDialog*)>& drive) {
        bool result = false;
        EXPECT_TRUE(fixtures::WithModal([&] { result = dialog.Execute(); },
                                        [&](QWidget* window) {
                                            EXPECT_EQ(window->objectName(), "ODScenariusz");
                                            if (auto* fileDialog = qobject_cast<QFileDialog*>(window)) {
                                                drive(fileDialog);
                                            }
                                        }));
        return result;
    }

    static void Choose(QFileDialog* d, const QString& file) {
        d->selectFile(file);
        static_cast<QDialog*>(d)->accept(); // as the Open button does
    }

    const fixtures::TempDir dir;
    const bool made = std::filesystem::create_directory(dir / "scen") &&
                      (std::ofstream(dir / "scen" / "las.KRO") << "x") &&
                      (std::ofstream(dir / "scen" / "x.txt") << "x");
    const QString scen = QDir(QString::fromStdString((dir / "scen").string())).canonicalPath();
    const fixtures::CurrentDirectory inside{dir.path()};
    platform::QtOpenFileDialog dialog{nullptr, "Scenariusze (*.Kro)|*.Kro"};
};

TEST_F(OpenFileDialogTest, ConfirmingGivesTheFullPathAndMakesItsFolderCurrent) {
    QString opened;
    EXPECT_TRUE(Run([&](QFileDialog* d) {
        opened = d->directory().canonicalPath();
        EXPECT_TRUE(d->isModal() && d->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        Choose(d, scen + "/las.KRO");
    }));
    EXPECT_EQ(opened, QDir(scen + "/..").canonicalPath()) << "opens on the current directory";
    EXPECT_EQ(dialog.FileName(), scen + "/las.KRO");
    EXPECT_EQ(QDir::current().canonicalPath(), scen);
}

TEST_F(OpenFileDialogTest, CancellingChangesNothingAndTheNextOpeningStartsOnTheLastChoice) {
    const QString before = QDir::currentPath();
    EXPECT_FALSE(Run([](QFileDialog* d) { d->reject(); }));
    EXPECT_TRUE(dialog.FileName().isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);

    Run([&](QFileDialog* d) { Choose(d, scen + "/las.KRO"); });
    QDir::setCurrent(before);
    QStringList preselected;
    EXPECT_FALSE(Run([&](QFileDialog* d) {
        preselected = d->selectedFiles();
        d->reject();
    }));
    EXPECT_EQ(preselected, QStringList{scen + "/las.KRO"});
    EXPECT_EQ(dialog.FileName(), scen + "/las.KRO");
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(OpenFileDialogTest, ListsOnlyMatchingFilesUnderTheDescriptionAsGiven) {
    QDir::setCurrent(scen);
    QString description;
    QStringList listed;
    Run([&](QFileDialog* d) {
        description = d->findChild<QComboBox*>("fileTypeCombo")->currentText();
        const auto* view = d->findChild<QAbstractItemView*>("listView");
        fixtures::WaitUntil([&] {
            listed.clear();
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            }
            return !listed.isEmpty();
        });
        d->reject();
    });
    EXPECT_EQ(description, "Scenariusze (*.Kro)");
    EXPECT_EQ(listed, QStringList{"las.KRO"});
}

TEST_F(OpenFileDialogTest, TheSideBarListsTheGivenPlacesOnceEachThenTheComputerAndLeavesOutMissingOnes) {
    const QString home = QDir(QString::fromStdString(dir.path().string())).canonicalPath();
    dialog.SetPlaces({scen, home + "/brak", home, scen});
    QList<QUrl> listed;
    QStringList shown;
    Run([&](QFileDialog* d) {
        listed = d->sidebarUrls();
        // What the side bar view shows, as the user sees it.
        if (const auto* sidebar = d->findChild<QAbstractItemView*>("sidebar")) {
            for (int row = 0; row < sidebar->model()->rowCount(); ++row) {
                shown << sidebar->model()->index(row, 0).data().toString();
            }
        }
        d->reject();
    });
    EXPECT_EQ(listed, (QList<QUrl>{QUrl::fromLocalFile(scen), QUrl::fromLocalFile(home), QUrl("file:")}));
    ASSERT_GE(shown.size(), 2);
    EXPECT_EQ(shown.mid(0, 2), (QStringList{"scen", QFileInfo(home).fileName()}));
}

TEST_F(OpenFileDialogTest, NothingIsRememberedFromOneRunToTheNext) {
    // Where the toolkit keeps the user's settings, moved into this test's own folder: the shared one may
    // be written by other programs meanwhile.
    const fixtures::TempDir config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));
    platform::KeepNoToolkitSettings();
    const QString home = QDir(QString::fromStdString(dir.path().string())).canonicalPath();
    dialog.SetPlaces({scen});
    EXPECT_TRUE(Run([&](QFileDialog* d) { Choose(d, scen + "/las.KRO"); }));

    // The next run: a new dialog with other places.
    platform::QtOpenFileDialog next{nullptr, "Scenariusze (*.Kro)|*.Kro"};
    next.SetPlaces({home});
    QList<QUrl> listed;
    fixtures::WithModal([&] { next.Execute(); },
                        [&](QWidget* window) {
                            if (auto* d = qobject_cast<QFileDialog*>(window)) {
                                listed = d->sidebarUrls();
                                d->reject();
                            }
                        });
    EXPECT_EQ(listed, (QList<QUrl>{QUrl::fromLocalFile(home), QUrl("file:")}));
    EXPECT_TRUE(std::filesystem::is_empty(config.path()))
        << "the dialog wrote its state to the user's settings";
    qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
