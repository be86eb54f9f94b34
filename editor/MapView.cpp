#include "editor/MapView.h"

#include "editor/core/StoryDocument.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace editor {

namespace {

// Detail by scale (screen pixels a map unit): texts from TextScale, numbers from NumberScale, plain boxes
// below, and the overview image once a step would be a few pixels wide.
constexpr double TextScale = 0.55;
constexpr double NumberScale = 0.25;
constexpr double LeastScale = 0.002;
constexpr double MostScale = 4;
constexpr int OverviewPixels = 4'000'000;
constexpr int OverviewSide = 32000;
// Longer edges are left out of the overview: a wide map's long edges would take most of its drawing.
constexpr double OverviewEdge = 600;
// Edges that only cross the view, both ends outside it, are drawn while there are no more than this many
// edges to look at; a wide map's long edges would otherwise be a costly grey haze.
constexpr std::size_t MostEdgesLookedAt = 3000;
constexpr std::size_t MostNodesDrawn = 5000;
enum Detail { Boxes = 0, Numbers = 1, Texts = 2 };

const QColor Background(250, 250, 247);
const QColor EdgeColour(120, 120, 120);
const QColor SelectedEdge(25, 118, 210);
const QColor WayColour(239, 108, 0);
const QColor ProblemColour(211, 47, 47);

// The part of `line` inside `area` (Liang and Barsky): Qt strokes a line far longer than the view slowly,
// and a wide map's edges run for hundreds of thousands of pixels.
std::optional<QLineF> Clipped(const QLineF& line, const QRectF& area) {
    const double dx = line.dx(), dy = line.dy();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {line.x1() - area.left(), area.right() - line.x1(), line.y1() - area.top(),
                         area.bottom() - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return std::nullopt;
        }
    }
    return QLineF(line.pointAt(t0), line.pointAt(t1));
}

QColor Fill(std::uint8_t marks, bool missing) {
    if (missing) {
        return {239, 154, 154};
    }
    if (marks & MarkTrap) {
        return {255, 205, 210};
    }
    if (marks & MarkEnding) {
        return {200, 230, 201};
    }
    if (marks & MarkStart) {
        return {187, 222, 251};
    }
    if (marks & MarkUnreachable) {
        return {238, 238, 238};
    }
    return Qt::white;
}

QString MarkWords(std::uint8_t marks) {
    QStringList words;
    if (marks & MarkStart) {
        words << QObject::tr("start");
    }
    if (marks & MarkEnding) {
        words << QObject::tr("zakończenie");
    }
    if (marks & MarkTrap) {
        words << QObject::tr("pułapka");
    }
    if (marks & MarkUnreachable) {
        words << QObject::tr("nieosiągalny");
    }
    if (marks & MarkProblem) {
        words << QObject::tr("problemy");
    }
    return words.join(QStringLiteral(", "));
}

} // namespace

MapView::MapView(const StoryDocument& document, QWidget* parent) : QWidget(parent), document_(document) {
    setObjectName("Mapa");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    setAccessibleName(tr("Mapa historii"));
}

void MapView::SetPicture(std::shared_ptr<const MapPicture> picture, QImage overview) {
    picture_ = std::move(picture);
    if (!overview.isNull() || !picture_) {
        overview_ = std::move(overview);
    }
    if (!fitted_ && picture_ && isVisible()) {
        fitted_ = true;
        Fit();
    }
    Follow();
    update();
}

void MapView::SetOverview(QImage overview) {
    overview_ = std::move(overview);
    update();
}

void MapView::SetMarks(StepMarks marks) {
    marks_ = std::move(marks);
    update();
}

void MapView::SetBusy(bool busy) {
    if (busy_ != busy) {
        busy_ = busy;
        update();
    }
}

std::optional<NodeId> MapView::SelectedNode() const {
    if (!picture_ || !selected_) {
        return std::nullopt;
    }
    return picture_->Structure().NodeOfNumber(*selected_);
}

void MapView::Select(std::optional<std::int64_t> number) {
    if (selected_ == number) {
        return;
    }
    selected_ = number;
    Follow();
    ShowSelected();
    update();
}

void MapView::Choose(NodeId node) {
    const MapNode& n = picture_->Structure().Nodes()[static_cast<std::size_t>(node)];
    if (n.missing) {
        return;
    }
    if (selected_ && *selected_ != n.number) {
        history_.push_back(*selected_);
    }
    Select(n.number);
    emit StepChosen(n.number);
}

QString MapView::NodeCaption(NodeId node) const {
    const MapNode& n = picture_->Structure().Nodes()[static_cast<std::size_t>(node)];
    if (n.missing) {
        return QString::fromStdString(n.missingText);
    }
    const auto index = document_.IndexOfNumber(n.number);
    const QString name = index ? QString::fromStdString(document_.Step(*index).name) : QString();
    return QStringLiteral("%1: %2").arg(n.number).arg(name);
}

QString MapView::NodeFirstWords(NodeId node) const {
    const MapNode& n = picture_->Structure().Nodes()[static_cast<std::size_t>(node)];
    const auto index = n.missing ? std::nullopt : document_.IndexOfNumber(n.number);
    return index ? QString::fromStdString(document_.Step(*index).opis.substr(0, 120)) : QString();
}

void MapView::Follow() {
    wayEdges_.clear();
    QString way;
    QString name = tr("Mapa historii");
    QString description;
    const auto node = SelectedNode();
    if (node) {
        const MapStructure& s = picture_->Structure();
        const QString marks = MarkWords(marks_.Of(*selected_));
        name = tr("Krok %1").arg(NodeCaption(*node)) +
               (marks.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(marks));
        QStringList links;
        for (const std::int32_t e : picture_->EdgesOut(*node)) {
            const MapEdge& edge = s.Edges()[static_cast<std::size_t>(e)];
            links << tr("wybór %1 do %2").arg(edge.choice).arg(NodeCaption(edge.to));
        }
        QStringList from;
        for (const std::int32_t e : picture_->EdgesIntoNode(*node)) {
            from << QString::number(
                s.Nodes()[static_cast<std::size_t>(s.Edges()[static_cast<std::size_t>(e)].from)].number);
        }
        description = links.isEmpty() ? tr("Bez wyborów.") : links.join(QStringLiteral("; ")) + u'.';
        if (!from.isEmpty()) {
            from.removeDuplicates();
            description += u' ' + tr("Prowadzą tu kroki: %1.").arg(from.join(QStringLiteral(", ")));
        }
        if (const auto clicks = s.WayTo(*node)) {
            QStringList parts;
            for (const WayClick& click : *clicks) {
                wayEdges_.push_back(click.edge);
                if (parts.size() < 40) {
                    parts << tr("%1, wybór %2")
                                 .arg(s.Nodes()[static_cast<std::size_t>(click.from)].number)
                                 .arg(click.button);
                }
            }
            if (parts.size() < static_cast<qsizetype>(clicks->size())) {
                parts << QStringLiteral("…");
            }
            way = clicks->empty() ? tr("Tu zaczyna się gra.")
                                  : tr("Najkrótsza droga do kroku %1 (kliknięcia: %2): %3")
                                        .arg(*selected_)
                                        .arg(clicks->size())
                                        .arg(parts.join(QStringLiteral(" → ")));
        } else {
            way = tr("Żadna droga od startu nie prowadzi do kroku %1.").arg(*selected_);
        }
    }
    setAccessibleName(name);
    setAccessibleDescription(description + (way.isEmpty() ? QString() : u' ' + way));
    if (way != wayText_) {
        wayText_ = way;
        emit WayChanged(wayText_);
    }
}

QPointF MapView::Centre() const {
    return ToMap(QPointF(width() / 2.0, height() / 2.0));
}

void MapView::SetView(double scale, QPointF centre) {
    scale_ = std::clamp(scale, LeastScale, MostScale);
    origin_ = centre - QPointF(width() / 2.0 / scale_, height() / 2.0 / scale_);
    update();
}

void MapView::ZoomBy(double factor) {
    SetView(scale_ * factor, Centre());
}

void MapView::Fit() {
    if (!picture_) {
        return;
    }
    const double w = std::max(1.0, picture_->Width());
    const double h = std::max(1.0, picture_->Height());
    SetView(std::min(width() / w, height() / h) * 0.95, QPointF(w / 2, h / 2));
}

void MapView::ShowSelected() {
    const auto node = SelectedNode();
    if (!node) {
        return;
    }
    const MapRect box = picture_->Box(*node);
    const QPointF topLeft = ToScreen(box.left, box.top);
    const QPointF bottomRight = ToScreen(box.right, box.bottom);
    if (!rect().contains(topLeft.toPoint()) || !rect().contains(bottomRight.toPoint())) {
        // Close enough to read the step, unless the author chose to be further out.
        SetView(std::max(scale_, NumberScale),
                QPointF((box.left + box.right) / 2, (box.top + box.bottom) / 2));
    }
}

QImage MapView::DrawOverview(const MapPicture& picture, const StepMarks& marks) {
    const double w = std::max(1.0, picture.Width());
    const double h = std::max(1.0, picture.Height());
    const double scale =
        std::min({1.0, std::sqrt(OverviewPixels / (w * h)), OverviewSide / w, OverviewSide / h});
    QImage image(std::max(1, static_cast<int>(w * scale)), std::max(1, static_cast<int>(h * scale)),
                 QImage::Format_RGB32);
    image.fill(Background);
    QPainter p(&image);
    p.scale(scale, scale);
    const MapStructure& s = picture.Structure();
    p.setPen(QPen(EdgeColour, 0));
    std::vector<QLineF> lines;
    for (const auto& route : picture.Layout().edges) {
        for (std::size_t k = 1; k < route.size(); ++k) {
            const QLineF line(route[k - 1].x, route[k - 1].y, route[k].x, route[k].y);
            if (line.length() * scale <= OverviewEdge) {
                lines.push_back(line);
            }
        }
    }
    p.drawLines(lines.data(), static_cast<int>(lines.size()));
    p.setPen(Qt::NoPen);
    for (std::size_t v = 0; v < s.Nodes().size(); ++v) {
        const MapNode& n = s.Nodes()[v];
        const std::uint8_t m = n.missing ? 0 : marks.Of(n.number);
        const MapRect b = picture.Box(static_cast<NodeId>(v));
        p.setBrush((m & MarkProblem) ? ProblemColour : Fill(m, n.missing).darker(115));
        p.drawRect(QRectF(b.left, b.top, b.right - b.left, b.bottom - b.top));
    }
    return image;
}

void MapView::PaintFrame(QPainter& painter, QSize size) const {
    painter.fillRect(QRect(QPoint(0, 0), size), Background);
    if (!picture_) {
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, tr("Układanie mapy…"));
        return;
    }
    const QPointF topLeft = ToMap(QPointF(0, 0));
    const QPointF bottomRight = ToMap(QPointF(size.width(), size.height()));
    const MapRect visible{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
    const double overviewScale =
        overview_.isNull() ? 0 : overview_.width() / std::max(1.0, picture_->Width());
    if (scale_ <= overviewScale) {
        // Only the part of the image the view shows, so that a long map's image is not scaled whole.
        const QRectF whole(ToScreen(0, 0), ToScreen(picture_->Width(), picture_->Height()));
        const QRectF shown = whole & QRectF(QPointF(0, 0), QSizeF(size));
        if (!shown.isEmpty()) {
            const double sx = overview_.width() / whole.width(), sy = overview_.height() / whole.height();
            painter.drawImage(shown, overview_,
                              QRectF((shown.left() - whole.left()) * sx, (shown.top() - whole.top()) * sy,
                                     shown.width() * sx, shown.height() * sy));
        }
    } else {
        const int detail = scale_ >= TextScale ? Texts : scale_ >= NumberScale ? Numbers : Boxes;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, detail == Texts);
        painter.translate(-origin_.x() * scale_, -origin_.y() * scale_);
        painter.scale(scale_, scale_);
        const std::vector<NodeId> nodes = picture_->NodesIn(visible);
        if (overview_.isNull() && nodes.size() > MostNodesDrawn) {
            painter.restore(); // the overview is being drawn: too many steps to draw one by one meanwhile
            painter.setPen(Qt::darkGray);
            painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, tr("Rysowanie przeglądu mapy…"));
            return;
        }
        const double margin = 20 / scale_;
        PaintEdges(painter,
                   picture_->EdgesInAtMost(visible) <= MostEdgesLookedAt ? picture_->EdgesIn(visible)
                                                                         : picture_->EdgesOf(nodes),
                   detail,
                   QRectF(QPointF(visible.left - margin, visible.top - margin),
                          QPointF(visible.right + margin, visible.bottom + margin)));
        PaintNodes(painter, nodes, detail);
        painter.restore();
    }
    PaintSelection(painter, size);
    if (busy_) {
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(QPoint(6, 4), size - QSize(12, 8)), Qt::AlignTop | Qt::AlignRight,
                         tr("Układanie mapy…"));
    }
}

void MapView::PaintEdges(QPainter& painter, const std::vector<std::int32_t>& edges, int detail,
                         const QRectF& area) const {
    const auto& routes = picture_->Layout().edges;
    const MapStructure& s = picture_->Structure();
    std::vector<QLineF> lines;
    lines.reserve(edges.size() * 2);
    for (const std::int32_t e : edges) {
        const auto& route = routes[static_cast<std::size_t>(e)];
        for (std::size_t k = 1; k < route.size(); ++k) {
            if (const auto line = Clipped({route[k - 1].x, route[k - 1].y, route[k].x, route[k].y}, area)) {
                lines.push_back(*line);
            }
        }
    }
    painter.setPen(QPen(EdgeColour, 0));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    if (detail < Numbers) {
        return;
    }
    // Arrowheads, and the choice's number near the end of its edge.
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setBrush(EdgeColour);
    for (const std::int32_t e : edges) {
        const auto& route = routes[static_cast<std::size_t>(e)];
        if (route.size() < 2) {
            continue;
        }
        const QPointF tip(route.back().x, route.back().y);
        if (!area.contains(tip)) {
            continue;
        }
        const QPointF before(route[route.size() - 2].x, route[route.size() - 2].y);
        const QPointF d = tip - before;
        const double length = std::hypot(d.x(), d.y());
        if (length < 1) {
            continue;
        }
        const QPointF u = d / length;
        const QPointF n(-u.y(), u.x());
        const QPointF base = tip - u * 9;
        const QPointF head[3] = {tip, base + n * 4, base - n * 4};
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(head, 3);
        if (detail == Texts) {
            painter.setPen(Qt::black);
            const QPointF at = tip - u * std::min(26.0, length / 2) + n * 7;
            painter.drawText(QRectF(at - QPointF(8, 7), QSizeF(16, 14)), Qt::AlignCenter,
                             QString::number(s.Edges()[static_cast<std::size_t>(e)].choice));
        }
    }
}

void MapView::PaintNodes(QPainter& painter, const std::vector<NodeId>& nodes, int detail) const {
    const MapStructure& s = picture_->Structure();
    if (detail == Boxes) {
        // A few pixels a step: filled boxes, one batch a colour, a problem's red over everything else.
        std::vector<std::pair<QRgb, QRectF>> boxes;
        boxes.reserve(nodes.size());
        for (const NodeId v : nodes) {
            const MapNode& n = s.Nodes()[static_cast<std::size_t>(v)];
            const std::uint8_t m = n.missing ? 0 : marks_.Of(n.number);
            const MapRect b = picture_->Box(v);
            boxes.emplace_back(((m & MarkProblem) ? ProblemColour : Fill(m, n.missing).darker(110)).rgb(),
                               QRectF(b.left, b.top, b.right - b.left, b.bottom - b.top));
        }
        std::stable_sort(boxes.begin(), boxes.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        painter.setPen(Qt::NoPen);
        std::vector<QRectF> batch;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            batch.push_back(boxes[i].second);
            if (i + 1 == boxes.size() || boxes[i + 1].first != boxes[i].first) {
                painter.setBrush(QColor::fromRgb(boxes[i].first));
                painter.drawRects(batch.data(), static_cast<int>(batch.size()));
                batch.clear();
            }
        }
        return;
    }
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    for (const NodeId v : nodes) {
        const MapNode& n = s.Nodes()[static_cast<std::size_t>(v)];
        const std::uint8_t m = n.missing ? 0 : marks_.Of(n.number);
        const MapRect b = picture_->Box(v);
        const QRectF box(b.left, b.top, b.right - b.left, b.bottom - b.top);
        QPen pen((m & MarkProblem) ? ProblemColour : QColor(90, 90, 90),
                 (m & MarkProblem) || (m & MarkStart) ? 3 : 1);
        if (m & MarkUnreachable) {
            pen.setStyle(Qt::DashLine);
        }
        painter.setPen(pen);
        painter.setBrush(Fill(m, n.missing));
        if (detail == Texts) {
            painter.drawRoundedRect(box, 6, 6);
        } else {
            painter.drawRect(box);
        }
        if (m & MarkEnding && detail == Texts) {
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(box.adjusted(3, 3, -3, -3), 4, 4);
        }
        if (detail == Numbers) {
            font.setPixelSize(22);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignCenter,
                             n.missing ? QStringLiteral("?") : QString::number(n.number));
            font.setPixelSize(12);
            painter.setFont(font);
        } else if (detail == Texts) {
            painter.setPen(Qt::black);
            const QRectF inner = box.adjusted(8, 5, -8, -5);
            const QRectF top(inner.left(), inner.top(), inner.width(), inner.height() / 2);
            const QRectF bottom(inner.left(), inner.center().y(), inner.width(), inner.height() / 2);
            painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter,
                             metrics.elidedText(NodeCaption(v), Qt::ElideRight, inner.width()));
            painter.setPen(QColor(80, 80, 80));
            painter.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter,
                             metrics.elidedText(NodeFirstWords(v), Qt::ElideRight, inner.width()));
        }
    }
}

void MapView::PaintSelection(QPainter& painter, QSize size) const {
    const auto node = SelectedNode();
    if (!node) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const auto& routes = picture_->Layout().edges;
    const QRectF view = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(-20, -20, 20, 20);
    const auto drawRoute = [&](std::int32_t e, const QColor& colour, double width) {
        if (e < 0) {
            return;
        }
        const auto& route = routes[static_cast<std::size_t>(e)];
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (std::size_t k = 1; k < route.size(); ++k) {
            const QLineF line(ToScreen(route[k - 1].x, route[k - 1].y), ToScreen(route[k].x, route[k].y));
            if (const auto part = Clipped(line, view)) {
                painter.drawLine(*part);
            }
        }
    };
    for (const std::int32_t e : wayEdges_) {
        drawRoute(e, WayColour, 4);
    }
    for (const std::int32_t e : picture_->EdgesOut(*node)) {
        drawRoute(e, SelectedEdge, 2.5);
    }
    for (const std::int32_t e : picture_->EdgesIntoNode(*node)) {
        drawRoute(e, SelectedEdge.lighter(140), 2.5);
    }
    const MapRect b = picture_->Box(*node);
    QRectF box(ToScreen(b.left, b.top), ToScreen(b.right, b.bottom));
    // Never smaller than a few pixels, so that the selection shows on the overview.
    const QPointF c = box.center();
    box = box.united(QRectF(c - QPointF(5, 5), QSizeF(10, 10)));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(SelectedEdge, 3));
    painter.drawRect(box.adjusted(-3, -3, 3, 3));
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(box.adjusted(-7, -7, 7, 7));
    }
    painter.restore();
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintFrame(painter, size());
}

void MapView::keyPressEvent(QKeyEvent* event) {
    if (!picture_) {
        QWidget::keyPressEvent(event);
        return;
    }
    const auto node = SelectedNode();
    std::optional<MapMove> move;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const double pan = 80 / scale_;
    switch (event->key()) {
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4:
        move = static_cast<MapMove>(static_cast<int>(MapMove::Choice1) + event->key() - Qt::Key_1);
        break;
    case Qt::Key_Up:
        if (ctrl) {
            SetView(scale_, Centre() - QPointF(0, pan));
            return;
        }
        move = MapMove::Up;
        break;
    case Qt::Key_Down:
        if (ctrl) {
            SetView(scale_, Centre() + QPointF(0, pan));
            return;
        }
        move = MapMove::Down;
        break;
    case Qt::Key_Left:
        if (ctrl) {
            SetView(scale_, Centre() - QPointF(pan, 0));
            return;
        }
        move = MapMove::Left;
        break;
    case Qt::Key_Right:
        if (ctrl) {
            SetView(scale_, Centre() + QPointF(pan, 0));
            return;
        }
        move = MapMove::Right;
        break;
    case Qt::Key_Home:
        move = MapMove::Start;
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomBy(1.25);
        return;
    case Qt::Key_Minus:
        ZoomBy(0.8);
        return;
    case Qt::Key_Asterisk:
        Fit();
        return;
    case Qt::Key_Backspace:
        if (!history_.empty()) {
            const std::int64_t back = history_.back();
            history_.pop_back();
            Select(back);
            emit StepChosen(back);
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected_) {
            emit StepOpened(*selected_);
        }
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const auto to = node ? picture_->Move(*node, *move) : picture_->Structure().Start();
    if (to) {
        Choose(*to);
    }
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position();
        dragged_ = false;
    }
    setFocus(Qt::MouseFocusReason);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_) {
        return;
    }
    const QPointF d = event->position() - *dragFrom_;
    if (dragged_ || std::abs(d.x()) + std::abs(d.y()) > 4) {
        dragged_ = true;
        origin_ -= d / scale_;
        dragFrom_ = event->position();
        update();
    }
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragFrom_) {
        return;
    }
    dragFrom_.reset();
    if (!dragged_ && picture_) {
        const QPointF at = ToMap(event->position());
        if (const auto node = picture_->NodeAt(at.x(), at.y())) {
            Choose(*node);
        }
    }
}

void MapView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) {
        return;
    }
    // The map point under the pointer stays under it.
    const QPointF at = ToMap(event->position());
    scale_ = std::clamp(scale_ * std::pow(1.2, steps), LeastScale, MostScale);
    origin_ = at - event->position() / scale_;
    update();
}

void MapView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!fitted_ && picture_) {
        fitted_ = true;
        Fit();
    }
}

void MapView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void MapView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

} // namespace editor
