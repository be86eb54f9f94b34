#include "platform/QtMessages.h"

#include "platform/AppTitle.h"
#include "platform/Mnemonics.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace platform {

namespace {

QScreen* BoxScreen() {
    if (const QWidget* window = QApplication::activeWindow();
        window != nullptr && window->screen() != nullptr) {
        return window->screen();
    }
    return QGuiApplication::primaryScreen();
}

// A small fixed-size box: the text wrapped at half the screen width, an optional icon, one "OK" that Enter
// and Esc both press. Centred on the screen by its real frame, corrected once the window manager framed it.
class MessageBox : public QDialog {
  public:
    MessageBox(QWidget* parent, const QString& text, bool error)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
        setObjectName(QStringLiteral("MessageBox"));
        setWindowTitle(ApplicationTitle());
        setModal(true);
        screen_ = BoxScreen();

        auto* content = new QHBoxLayout;
        content->setSpacing(16);
        // What the box holds beside the text across its width: the margins, and the icon with its gap.
        int besideText = 2 * kSideMargin;
        if (error) {
            const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
            besideText += iconSize + content->spacing();
            auto* icon = new QLabel(this);
            icon->setObjectName(QStringLiteral("icon"));
            icon->setPixmap(
                style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(iconSize));
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            icon->setAccessibleName(QStringLiteral("Błąd"));
            content->addWidget(icon, 0, Qt::AlignTop);
        }
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("text"));
        label->setTextFormat(Qt::RichText);
        label->setText(MnemonicRichText(text));
        label->setAccessibleName(MnemonicPlainText(text));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        const int width = std::max(TextWidth(label), CaptionWidth() - besideText);
        label->setFixedWidth(width);
        label->setMinimumHeight(label->heightForWidth(width));
        content->addWidget(label, 1, Qt::AlignTop);

        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QStringLiteral("ok"));
        ok->setDefault(true);
        ok->setAutoDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);

        auto* layout = new QVBoxLayout(this);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->setContentsMargins(kSideMargin, 16, kSideMargin, 12);
        layout->setSpacing(16);
        layout->addLayout(content);
        layout->addWidget(ok, 0, Qt::AlignHCenter);
        ok->setFocus();

        adjustSize();
        Centre();
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        QTimer::singleShot(0, this, [this] { CentreIfFrameChanged(); });
    }

    void moveEvent(QMoveEvent* event) override {
        QDialog::moveEvent(event);
        CentreIfFrameChanged();
    }

    void resizeEvent(QResizeEvent* event) override {
        QDialog::resizeEvent(event);
        CentreIfFrameChanged();
    }

  private:
    static constexpr int kSideMargin = 20;

    // The narrowest width that keeps the wrapping at half the screen width.
    int TextWidth(const QLabel* label) const {
        const int limit = screen_ != nullptr ? std::max(100, screen_->geometry().width() / 2) : 400;
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(label->text());
        document.setTextWidth(limit);
        return std::min(limit, static_cast<int>(std::ceil(document.idealWidth())) + 1);
    }

    // The width a title bar needs to show the caption whole. The window manager's font and buttons are
    // unknown here: the caption in bold, with room for five squares as tall as the bar (the window
    // icon, the buttons and the padding between).
    int CaptionWidth() const {
        QFont font = this->font();
        font.setBold(true);
        const QFontMetrics metrics(font);
        const int bar = metrics.height() + 8;
        return metrics.horizontalAdvance(windowTitle()) + 5 * bar;
    }

    void Centre() {
        if (screen_ == nullptr) {
            return;
        }
        const QRect area = screen_->availableGeometry();
        centredFrame_ = frameGeometry().size();
        move(area.x() + (area.width() - centredFrame_.width()) / 2,
             area.y() + (area.height() - centredFrame_.height()) / 2);
    }

    // The window manager adds its frame after the first show; a few corrections cover that, after which
    // the box stays where the user puts it.
    void CentreIfFrameChanged() {
        if (!isVisible() || frameGeometry().size() == centredFrame_ || corrections_ >= 3) {
            return;
        }
        ++corrections_;
        Centre();
    }

    QScreen* screen_ = nullptr;
    QSize centredFrame_;
    int corrections_ = 0;
};

void ShowBox(const QString& text, bool error) {
    MessageBox box(QApplication::activeWindow(), text, error);
    box.exec();
}

} // namespace

void QtMessages::ShowMessage(const QString& text) {
    ShowBox(text, false);
}

void QtMessages::ShowError(const QString& text) {
    ShowBox(text, true);
}

} // namespace platform
