#include "widgets/Ruler.h"

#include "widgets/RulerGeometry.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace {

constexpr int kPaperLeft = 4;        // pixels: the white part of the scale
constexpr int kPaperRight = 625;
constexpr double kPixelsPerCm = 37.8;
constexpr int kNumberedCentimetres = 17;

QPixmap scalePicture()
{
    QPixmap pixmap(RulerBand::kScaleWidth, RulerBand::kScaleHeight);
    pixmap.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&pixmap);
    painter.fillRect(QRect(QPoint(kPaperLeft, 2), QPoint(kPaperRight, RulerBand::kScaleHeight - 3)), Qt::white);
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int halfCm = 1; halfCm <= 2 * kNumberedCentimetres + 1; ++halfCm) {
        const int x = kPaperLeft + static_cast<int>(halfCm * kPixelsPerCm / 2);
        if (halfCm % 2 == 0) {
            painter.drawText(QRect(x - 10, 0, 20, RulerBand::kScaleHeight), Qt::AlignCenter,
                             QString::number(halfCm / 2));
        } else {
            painter.drawLine(x, 8, x, 11);
        }
    }
    return pixmap;
}

QPixmap markerPicture(int height, bool pointsDown, bool withBox)
{
    constexpr int kWidth = 9;
    QPixmap pixmap(kWidth, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(0xC0, 0xC0, 0xC0));
    const QPolygon triangle = pointsDown ? QPolygon({QPoint(0, 0), QPoint(8, 0), QPoint(4, 7)})
                                         : QPolygon({QPoint(4, 0), QPoint(8, 7), QPoint(0, 7)});
    painter.drawPolygon(triangle);
    if (withBox)
        painter.drawRect(0, 8, 8, height - 9);
    return pixmap;
}

QLabel *picture(QWidget *parent, const char *name, const QPixmap &pixmap, QPoint position)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(pixmap);
    label->setGeometry(QRect(position, pixmap.size()));
    return label;
}

} // namespace

RulerBand::RulerBand(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setFixedHeight(kHeight);
    Image1 = picture(this, "Image1", scalePicture(), QPoint(0, 1));
    CurPos = picture(this, "CurPos", markerPicture(8, true, false), QPoint(8, 0));
    LeftIndent = picture(this, "LeftIndent", markerPicture(14, false, true), QPoint(8, 8));
    RightIndent = picture(this, "RightIndent", markerPicture(8, false, false), QPoint(620, 15));
    for (QLabel *marker : {CurPos, LeftIndent, RightIndent})
        marker->installEventFilter(this);
}

QLabel *RulerBand::label(Marker marker) const
{
    switch (marker) {
    case Marker::CurPos: return CurPos;
    case Marker::LeftIndent: return LeftIndent;
    case Marker::RightIndent: return RightIndent;
    }
    return CurPos;
}

int RulerBand::markerLeft(Marker marker) const
{
    return label(marker)->x();
}

void RulerBand::placeMarker(Marker marker, int left)
{
    QLabel *picture = label(marker);
    picture->move(left, picture->y());
}

bool RulerBand::pullMarkersOntoScale()
{
    // Every move of a dragged marker repaints the window: the marker goes where
    // the pointer goes until it is dropped.
    if (dragging_)
        return false;
    bool leftIndentMoved = false;
    for (Marker marker : {Marker::CurPos, Marker::LeftIndent}) {
        if (markerLeft(marker) < ruler::kLeftSnapLimit) {
            placeMarker(marker, ruler::kSnapPosition);
            leftIndentMoved = leftIndentMoved || marker == Marker::LeftIndent;
        }
    }
    return leftIndentMoved;
}

bool RulerBand::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    for (Marker marker : {Marker::CurPos, Marker::LeftIndent, Marker::RightIndent}) {
        QLabel *picture = label(marker);
        if (watched != picture)
            continue;
        // The press captures the pointer: moves outside the marker still come here.
        const int x = static_cast<int>(static_cast<QMouseEvent *>(event)->position().x());
        if (type == QEvent::MouseButtonPress) {
            grabOffset_ = picture->width() / 2;
            placeMarker(marker, picture->x() + x - grabOffset_);
            dragging_ = true;
        } else if (type == QEvent::MouseMove) {
            if (dragging_)
                placeMarker(marker, picture->x() + x - grabOffset_);
        } else {
            dragging_ = false;
            Q_EMIT markerDropped(marker);
        }
        return true;
    }
    return false;
}
