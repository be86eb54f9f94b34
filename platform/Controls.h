#pragma once
// The plain controls the windows are built from, beyond Qt's own push buttons and text box.

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <functional>

namespace platform {

// A push button as the windows make theirs: named, placed, in `font`, with the name a screen reader says.
// It never becomes the default by taking the focus: Enter is the window's own (TForm).
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect place,
                        const QFont& font, const QString& accessibleName);

// A static text. "&x" is drawn as an underlined x and "&&" as "&"; a label never takes a shortcut.
// Its accessible name is its visible text, its role goes into the accessible description.
class TLabel : public QWidget {
    Q_OBJECT

  public:
    TLabel(QWidget* parent, const QString& objectName, QRect place, const QString& role = {});

    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }
    // The text as a reader sees it: mnemonic markers removed.
    QString VisibleText() const;

    void SetAlignment(Qt::Alignment alignment);

    // The control this label names for a screen reader (its labelled-by relation), if any.
    void SetLabelFor(QWidget* control) { labelFor_ = control; }
    QWidget* LabelFor() const { return labelFor_; }

    // A label that sizes itself keeps its left edge and takes the width its text needs, so that a font
    // a little wider than the one the window was designed with never cuts the text.
    void SetAutoSize(bool autoSize);

  signals:
    void CaptionChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FitToText();

    QString caption_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
    bool autoSize_ = false;
    QPointer<QWidget> labelFor_;
};

// A raised box frame of one pixel: top and left in the button-highlight colour, bottom and right in the
// button-shadow colour. Its inside is not painted.
class TBevel : public QWidget {
    Q_OBJECT

  public:
    TBevel(QWidget* parent, const QString& objectName, QRect place);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// An area the program draws on. Drawing goes to a canvas the size of the box (clipped to it) and shows at
// the next paint. When the toolkit asks the box to repaint itself for any other reason (first show,
// uncovering, an explicit repaint), OnPaint runs first so that the owner can draw the area anew.
class TPaintBox : public QWidget {
    Q_OBJECT

  public:
    TPaintBox(QWidget* parent, const QString& objectName, QRect place);

    QImage& Canvas() { return canvas_; }
    const QImage& Canvas() const { return canvas_; }
    // Call after drawing on the canvas: the box shows it without running OnPaint.
    void Drawn();

    std::function<void()> OnPaint;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage canvas_;
    bool drawnByOwner_ = false;
};

} // namespace platform
