#pragma once
// The story map drawn: a laid-out MapPicture with zoom, pan and a selected step whose edges stand out and
// whose shortest way from the start is drawn. A frame paints only what the view shows, found through the
// picture's grid, and with less the further out it is: steps with their texts, then with their numbers,
// then plain boxes, then (for the whole of a large map) an overview image drawn beforehand off the
// interface thread. The keyboard moves the selection along edges; the widget's accessible name and
// description say the step reached and its links, so a screen reader speaks them.

#include "editor/core/MapModel.h"
#include "editor/core/StepMarks.h"

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace editor {

class StoryDocument;

class MapView : public QWidget {
    Q_OBJECT

  public:
    explicit MapView(const StoryDocument& document, QWidget* parent = nullptr);

    // A new picture (the view stays where it was); `overview` is the whole map drawn small, or null to
    // keep the last one until SetOverview (an edit moves few steps).
    void SetPicture(std::shared_ptr<const MapPicture> picture, QImage overview);
    void SetOverview(QImage overview);
    void SetMarks(StepMarks marks);
    void SetBusy(bool busy);
    // The next picture is of another story: the view fits it whole.
    void ExpectNewMap() {
        fitted_ = false;
        overview_ = QImage();
    }
    const MapPicture* Picture() const { return picture_.get(); }

    // The selected step by number, told by the rest of the window: no StepChosen. The view moves to show it.
    void Select(std::optional<std::int64_t> number);
    std::optional<std::int64_t> Selected() const { return selected_; }
    // The shortest way to the selected step, in words; empty when there is none to show.
    const QString& WayText() const { return wayText_; }

    double Scale() const { return scale_; }
    // The view: `scale` screen pixels a map unit, the map point `centre` in the middle of the widget.
    void SetView(double scale, QPointF centre);
    QPointF Centre() const;
    void ZoomBy(double factor);
    void Fit();
    void ShowSelected();
    // Paints a frame of `size` as the widget would (for the benchmarks too).
    void PaintFrame(QPainter& painter, QSize size) const;

    // The overview of a picture: the whole map at most this many pixels, for MapView::SetPicture. Safe to
    // call on any thread.
    static QImage DrawOverview(const MapPicture& picture, const StepMarks& marks);

  signals:
    // The author chose a step on the map (a click or the keyboard).
    void StepChosen(std::int64_t number);
    // Enter on a step: the author wants its form.
    void StepOpened(std::int64_t number);
    void WayChanged(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPointF ToScreen(double x, double y) const {
        return {(x - origin_.x()) * scale_, (y - origin_.y()) * scale_};
    }
    QPointF ToMap(QPointF p) const { return {p.x() / scale_ + origin_.x(), p.y() / scale_ + origin_.y()}; }
    std::optional<NodeId> SelectedNode() const;
    void Choose(NodeId node);
    void Follow(); // the way, the accessible texts and the view after the selection or the picture changed
    void PaintNodes(QPainter& painter, const std::vector<NodeId>& nodes, int detail) const;
    // `area`: the view in map units with a margin; what lies outside it is not drawn.
    void PaintEdges(QPainter& painter, const std::vector<std::int32_t>& edges, int detail,
                    const QRectF& area) const;
    void PaintSelection(QPainter& painter, QSize size) const;
    QString NodeCaption(NodeId node) const;
    QString NodeFirstWords(NodeId node) const;

    const StoryDocument& document_;
    std::shared_ptr<const MapPicture> picture_;
    QImage overview_;
    StepMarks marks_;
    bool busy_ = false;
    std::optional<std::int64_t> selected_;
    std::vector<std::int32_t> wayEdges_;
    QString wayText_;
    std::vector<std::int64_t> history_; // the steps the keyboard left, for Backspace
    double scale_ = 1;
    QPointF origin_; // the map point at the widget's top left corner
    bool fitted_ = false;
    std::optional<QPointF> dragFrom_;
    bool dragged_ = false;
};

} // namespace editor
