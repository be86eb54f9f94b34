#include "platform/Controls.h"

#include "platform/Mnemonics.h"

#include <QEvent>
#include <QPaintEvent>

#include <QPainter>
#include <algorithm>

namespace platform {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect place,
                        const QFont& font, const QString& accessibleName) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setFont(font);
    button->setAccessibleName(accessibleName);
    button->setAutoDefault(false);
    return button;
}

TLabel::TLabel(QWidget* parent, const QString& objectName, QRect place, const QString& role)
    : QWidget(parent) {
    setObjectName(objectName);
    setGeometry(place);
    setFixedSize(place.size());
    setFocusPolicy(Qt::NoFocus);
    setAccessibleDescription(role);
}

void TLabel::SetCaption(const QString& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    setAccessibleName(VisibleText());
    FitToText();
    update();
    emit CaptionChanged();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToText();
}

void TLabel::FitToText() {
    if (autoSize_) {
        setFixedWidth(std::max(1, fontMetrics().horizontalAdvance(VisibleText()) + 1));
    }
}

void TLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        FitToText();
    }
    QWidget::changeEvent(event);
}

QString TLabel::VisibleText() const {
    return MnemonicPlainText(caption_);
}

void TLabel::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void TLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int flags = static_cast<int>(alignment_) | Qt::TextShowMnemonic | Qt::TextSingleLine;
    QRect area = rect();
    const int overflow = painter.boundingRect(area, flags, caption_).width() - area.width();
    if (overflow > 0) {
        // A text too long for the label is cut on the side away from its alignment: a right-aligned one
        // shows its end.
        if (alignment_ & Qt::AlignRight) {
            area.setLeft(area.left() - overflow);
        } else if (alignment_ & Qt::AlignHCenter) {
            area.adjust(-overflow / 2, 0, overflow - overflow / 2, 0);
        } else {
            area.setRight(area.right() + overflow);
        }
    }
    painter.drawText(area, flags, caption_);
}

TBevel::TBevel(QWidget* parent, const QString& objectName, QRect place) : QWidget(parent) {
    setObjectName(objectName);
    setGeometry(place);
    setFixedSize(place.size());
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    // Only a frame: it stays beneath the controls it surrounds.
    lower();
}

void TBevel::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) {
        return;
    }
    QPainter painter(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    painter.fillRect(0, 0, width(), 1, light);
    painter.fillRect(0, 0, 1, height(), light);
    painter.fillRect(0, height() - 1, width(), 1, dark);
    painter.fillRect(width() - 1, 0, 1, height(), dark);
}

TPaintBox::TPaintBox(QWidget* parent, const QString& objectName, QRect place)
    : QWidget(parent), canvas_(place.size(), QImage::Format_RGB32) {
    setObjectName(objectName);
    setGeometry(place);
    setFixedSize(place.size());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    canvas_.fill(palette().color(QPalette::Window));
}

void TPaintBox::Drawn() {
    drawnByOwner_ = true;
    update();
}

void TPaintBox::paintEvent(QPaintEvent* event) {
    if (!drawnByOwner_ && OnPaint) {
        try {
            OnPaint();
        } catch (...) {
            // OnPaint reports its own errors; this only keeps an exception out of the toolkit.
            qWarning("TPaintBox %s: unhandled exception in OnPaint", qUtf8Printable(objectName()));
        }
    }
    drawnByOwner_ = false;
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas_, event->rect());
}

} // namespace platform
