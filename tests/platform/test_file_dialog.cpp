#include "platform/QtOpenFileDialog.h"
#include "tests/platform/Waits.h"
#include "tests/support/TempDir.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using platform_tests::WaitUntil;
using platform_tests::WithModal;

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

bool Matches(const QString& filter, const QString& fileName) {
    // The part of a name filter in its last parentheses holds the patterns, as QFileDialog reads it.
    const QRegularExpression patterns(R"(\(([^()]*)\)$)");
    const QString list = patterns.match(filter).captured(1);
    for (const QString& pattern : list.split(u' ', Qt::SkipEmptyParts)) {
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                .match(fileName)
                .hasMatch()) {
            return true;
        }
    }
    return false;
}

TEST(OpenFileDialogFilter, MatchesThePatternInAnyLetterCase) {
    const QStringList filters = platform::NameFiltersFrom("Scenariusze (*.Kro)|*.Kro");
    ASSERT_EQ(filters.size(), 1);
    for (const char* name : {"las.KRO", "las.kro", "Las.Kro", "ŁĄKA.kRo"}) {
        EXPECT_TRUE(Matches(filters[0], QString::fromUtf8(name))) << name;
    }
    for (const char* name : {"x.txt", "las.kro.txt", "las.kr"}) {
        EXPECT_FALSE(Matches(filters[0], name)) << name;
    }
}

TEST(OpenFileDialogFilter, TakesEveryDescriptionAndItsPatterns) {
    const QStringList filters = platform::NameFiltersFrom("Obrazy|*.bmp;*.Dib|Wszystkie pliki|*");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].startsWith("Obrazy ("));
    EXPECT_TRUE(Matches(filters[0], "a.DIB"));
    EXPECT_TRUE(Matches(filters[0], "a.Bmp"));
    EXPECT_FALSE(Matches(filters[0], "a.wav"));
    EXPECT_TRUE(Matches(filters[1], "cokolwiek.wav"));
}

class OpenFileDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"las.KRO", "x.txt"}) {
            std::ofstream(dir / "scen" / name) << "x";
        }
    }

    // Runs Execute while `drive` works the open dialog.
    bool Run(platform::QtOpenFileDialog& dialog, const std::function<void(QFileDialog*)>& drive) {
        bool found = false;
        bool result = false;
        EXPECT_TRUE(WithModal([&] { result = dialog.Execute(); },
                              [&](QWidget* window) {
                                  auto* fileDialog = qobject_cast<QFileDialog*>(window);
                                  found = fileDialog != nullptr && window->objectName() == "ODScenariusz";
                                  if (fileDialog == nullptr) {
                                      return;
                                  }
                                  drive(fileDialog);
                              }));
        EXPECT_TRUE(found);
        return result;
    }

    const fixtures::TempDir dir{};
    const bool made = std::filesystem::create_directory(dir / "scen");
    const fixtures::CurrentDirectory inside{dir.path()};
};

TEST_F(OpenFileDialogTest, ConfirmingGivesTheFullPathAndMakesItsFolderCurrent) {
    platform::QtOpenFileDialog dialog(nullptr, "Scenariusze (*.Kro)|*.Kro");
    const QString file = Q(dir / "scen" / "las.KRO");
    QString shownDirectory;
    bool modal = false;
    bool nativeOff = false;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    EXPECT_TRUE(Run(dialog, [&](QFileDialog* d) {
        shownDirectory = d->directory().absolutePath();
        modal = d->isModal();
        nativeOff = d->testOption(QFileDialog::DontUseNativeDialog);
        mode = d->fileMode();
        d->selectFile(file);
        static_cast<QDialog*>(d)->accept(); // as the Open button does
    }));
    EXPECT_EQ(shownDirectory, QFileInfo(Q(dir.path())).canonicalFilePath());
    EXPECT_TRUE(modal);
    EXPECT_TRUE(nativeOff);
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.FileName(), file);
    EXPECT_EQ(QDir::currentPath(), QFileInfo(Q(dir / "scen")).canonicalFilePath());
}

TEST_F(OpenFileDialogTest, CancellingChangesNothing) {
    platform::QtOpenFileDialog dialog(nullptr, "Scenariusze (*.Kro)|*.Kro");
    const QString before = QDir::currentPath();
    EXPECT_FALSE(Run(dialog, [](QFileDialog* d) { d->reject(); }));
    EXPECT_TRUE(dialog.FileName().isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(OpenFileDialogTest, OpensAgainOnTheLastChoice) {
    platform::QtOpenFileDialog dialog(nullptr, "Scenariusze (*.Kro)|*.Kro");
    const QString file = Q(dir / "scen" / "las.KRO");
    Run(dialog, [&](QFileDialog* d) {
        d->selectFile(file);
        static_cast<QDialog*>(d)->accept(); // as the Open button does
    });
    QDir::setCurrent(Q(dir.path()));
    QStringList preselected;
    EXPECT_FALSE(Run(dialog, [&](QFileDialog* d) {
        preselected = d->selectedFiles();
        d->reject();
    }));
    EXPECT_EQ(preselected, QStringList{file});
    EXPECT_EQ(dialog.FileName(), file);
}

TEST_F(OpenFileDialogTest, ListsOnlyMatchingFilesUnderTheDescriptionAsGiven) {
    platform::QtOpenFileDialog dialog(nullptr, "Scenariusze (*.Kro)|*.Kro");
    QDir::setCurrent(Q(dir / "scen"));
    QString shownFilter;
    QStringList listed;
    Run(dialog, [&](QFileDialog* d) {
        if (const auto* combo = d->findChild<QComboBox*>("fileTypeCombo")) {
            shownFilter = combo->currentText();
        }
        const auto* view = d->findChild<QAbstractItemView*>("listView");
        const auto listing = [&] {
            listed.clear();
            if (view == nullptr) {
                return false;
            }
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row) {
                listed << view->model()->index(row, 0, root).data().toString();
            }
            return !listed.isEmpty();
        };
        WaitUntil(listing, 3000);
        d->reject();
    });
    EXPECT_EQ(shownFilter, "Scenariusze (*.Kro)");
    EXPECT_EQ(listed, QStringList{"las.KRO"});
}

} // namespace
