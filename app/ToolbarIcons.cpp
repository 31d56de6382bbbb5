#include "app/ToolbarIcons.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QStringList>

#include <cmath>

namespace {

constexpr int kSize = 24;

const QColor kInk(48, 48, 48);
const QColor kOutline(90, 90, 90);
const QColor kBlue(42, 110, 187);
const QColor kRed(200, 40, 40);
const QColor kGreen(40, 150, 60);
const QColor kYellow(232, 184, 64);
const QColor kPaper(Qt::white);

// ---- drawing helpers --------------------------------------------------------

QPen pen(const QColor &color, qreal width = 1.5)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded top right corner.
void drawPage(QPainter &p, const QRectF &r, qreal fold = 5)
{
    QPolygonF sheet;
    sheet << r.topLeft() << QPointF(r.right() - fold, r.top()) << QPointF(r.right(), r.top() + fold)
          << r.bottomRight() << r.bottomLeft();
    p.setPen(pen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawPolygon(sheet);
    QPolygonF corner;
    corner << QPointF(r.right() - fold, r.top()) << QPointF(r.right() - fold, r.top() + fold)
           << QPointF(r.right(), r.top() + fold);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(corner);
}

// Horizontal text lines inside a rectangle, as on a written page.
void drawTextLines(QPainter &p, qreal left, qreal right, qreal top, int count, qreal step = 3)
{
    p.setPen(pen(QColor(150, 150, 150), 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * step), QPointF(right, top + i * step));
}

// A straight arrow from one point to another with a filled head.
void drawArrow(QPainter &p, QPointF from, QPointF to, const QColor &color, qreal width = 2, qreal head = 5)
{
    const qreal dx = to.x() - from.x();
    const qreal dy = to.y() - from.y();
    const qreal length = std::hypot(dx, dy);
    if (length <= 0)
        return;
    const qreal ux = dx / length;
    const qreal uy = dy / length;
    const QPointF base(to.x() - ux * head, to.y() - uy * head);
    p.setPen(pen(color, width));
    p.drawLine(from, base);
    QPolygonF tip;
    tip << to << QPointF(base.x() - uy * head * 0.7, base.y() + ux * head * 0.7)
        << QPointF(base.x() + uy * head * 0.7, base.y() - ux * head * 0.7);
    p.setPen(pen(color, 1));
    p.setBrush(color);
    p.drawPolygon(tip);
}

// Text centred in a rectangle, sized in pixels.
void drawGlyph(QPainter &p, const QString &text, const QRectF &r, int pixelSize, const QColor &color,
               bool bold = false, bool italic = false, bool serif = false)
{
    QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

// A key cap with a short label, for the keyboard layout buttons.
void drawKeyCap(QPainter &p, const QString &label, const QColor &color)
{
    p.setPen(pen(kOutline, 1));
    p.setBrush(QColor(245, 245, 245));
    p.drawRoundedRect(QRectF(1.5, 3.5, 21, 17), 3, 3);
    drawGlyph(p, label, QRectF(1.5, 3.5, 21, 17), 10, color, true);
}

// A 3.5" diskette.
void drawDiskette(QPainter &p, const QRectF &r)
{
    p.setPen(pen(QColor(25, 65, 120), 1));
    p.setBrush(kBlue);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.5, r.height() * 0.3));
    p.setBrush(kPaper);
    p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.5, r.width() * 0.7,
                      r.height() * 0.5));
}

void drawAlignmentLines(QPainter &p, Qt::Alignment align)
{
    p.setPen(pen(kInk, 2));
    const qreal widths[] = {18, 12, 18, 10, 16};
    for (int i = 0; i < 5; ++i) {
        const qreal w = widths[i];
        qreal left = 3;
        if (align == Qt::AlignHCenter)
            left = 12 - w / 2;
        else if (align == Qt::AlignRight)
            left = 21 - w;
        const qreal y = 4 + i * 4;
        p.drawLine(QPointF(left, y), QPointF(left + w, y));
    }
}

void drawBulletList(QPainter &p)
{
    for (int i = 0; i < 3; ++i) {
        const qreal y = 5 + i * 7;
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(4.5, y), 2.2, 2.2);
        p.setPen(pen(kInk, 2));
        p.drawLine(QPointF(9, y), QPointF(21, y));
    }
}

void drawIndent(QPainter &p, bool toRight)
{
    p.setPen(pen(kInk, 2));
    p.drawLine(QPointF(3, 3), QPointF(21, 3));
    p.drawLine(QPointF(3, 21), QPointF(21, 21));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(12, 9 + i * 3), QPointF(21, 9 + i * 3));
    if (toRight)
        drawArrow(p, QPointF(2, 12), QPointF(10, 12), kBlue, 2, 4);
    else
        drawArrow(p, QPointF(10, 12), QPointF(2, 12), kBlue, 2, 4);
}

// A curved arrow turning back to the left (undo) or to the right (redo).
void drawTurnArrow(QPainter &p, bool toLeft)
{
    p.save();
    if (!toLeft) {
        p.translate(kSize, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(19, 19);
    path.cubicTo(21, 10, 14, 6, 7, 9);
    p.setPen(pen(kBlue, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QPolygonF tip;
    tip << QPointF(2, 11) << QPointF(8, 4.5) << QPointF(9.5, 13);
    p.setPen(pen(kBlue, 1));
    p.setBrush(kBlue);
    p.drawPolygon(tip);
    p.restore();
}

void drawMagnifier(QPainter &p, QPointF centre, qreal radius)
{
    p.setPen(pen(kInk, 2));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(centre, radius, radius);
    const qreal d = radius * 0.71;
    p.setPen(pen(kInk, 3));
    p.drawLine(QPointF(centre.x() + d, centre.y() + d), QPointF(centre.x() + d + 6, centre.y() + d + 6));
}

// ---- the button pictures ----------------------------------------------------

void drawNew(QPainter &p)
{
    drawPage(p, QRectF(4.5, 2.5, 14, 19));
    p.setPen(pen(kGreen, 2.5));
    p.drawLine(QPointF(17, 13), QPointF(17, 21));
    p.drawLine(QPointF(13, 17), QPointF(21, 17));
}

void drawOpen(QPainter &p)
{
    p.setPen(pen(QColor(150, 110, 20), 1));
    p.setBrush(kYellow.darker(115));
    QPolygonF back;
    back << QPointF(2.5, 5.5) << QPointF(9, 5.5) << QPointF(11, 7.5) << QPointF(20.5, 7.5)
         << QPointF(20.5, 19.5) << QPointF(2.5, 19.5);
    p.drawPolygon(back);
    p.setBrush(kYellow);
    QPolygonF front;
    front << QPointF(5.5, 10.5) << QPointF(22.5, 10.5) << QPointF(19.5, 19.5) << QPointF(2.5, 19.5);
    p.drawPolygon(front);
}

void drawSave(QPainter &p) { drawDiskette(p, QRectF(3.5, 3.5, 17, 17)); }

void drawSaveAs(QPainter &p)
{
    drawDiskette(p, QRectF(2.5, 2.5, 15, 15));
    // A pencil across the lower right corner.
    p.setPen(pen(QColor(120, 70, 10), 1));
    p.setBrush(kYellow);
    QPolygonF pencil;
    pencil << QPointF(20, 10) << QPointF(23, 13) << QPointF(14, 22) << QPointF(11, 19);
    p.drawPolygon(pencil);
    p.setBrush(kInk);
    QPolygonF point;
    point << QPointF(11, 19) << QPointF(14, 22) << QPointF(10, 23);
    p.drawPolygon(point);
}

void drawPrinter(QPainter &p)
{
    p.setPen(pen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(6.5, 2.5, 11, 8));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 9), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(6.5, 15.5, 11, 6));
    drawTextLines(p, 8, 16, 18, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(18.5, 12.5), 1.2, 1.2);
}

void drawPageSetup(QPainter &p)
{
    drawPage(p, QRectF(3.5, 1.5, 17, 21));
    QPen dashed = pen(kBlue, 1);
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6.5, 7.5, 11, 12));
    drawTextLines(p, 8, 16, 10, 3, 3);
}

void drawExit(QPainter &p)
{
    p.setPen(pen(QColor(110, 70, 30), 1));
    p.setBrush(QColor(170, 120, 60));
    p.drawRect(QRectF(3.5, 2.5, 11, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(12, 12), 1.2, 1.2);
    drawArrow(p, QPointF(10, 12), QPointF(23, 12), kRed, 2.5, 6);
}

void drawUndo(QPainter &p) { drawTurnArrow(p, true); }
void drawRedo(QPainter &p) { drawTurnArrow(p, false); }

void drawCopy(QPainter &p)
{
    drawPage(p, QRectF(2.5, 2.5, 12, 15), 4);
    drawTextLines(p, 4.5, 11, 7, 3, 3);
    drawPage(p, QRectF(9.5, 7.5, 12, 15), 4);
    drawTextLines(p, 11.5, 18, 12, 3, 3);
}

void drawCut(QPainter &p)
{
    p.setPen(pen(QColor(120, 120, 120), 2));
    p.drawLine(QPointF(7, 2), QPointF(15, 15));
    p.drawLine(QPointF(17, 2), QPointF(9, 15));
    p.setPen(pen(kRed, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(7, 18), 3.5, 3.5);
    p.drawEllipse(QPointF(17, 18), 3.5, 3.5);
}

void drawPaste(QPainter &p)
{
    p.setPen(pen(QColor(110, 70, 30), 1));
    p.setBrush(QColor(180, 130, 70));
    p.drawRoundedRect(QRectF(3.5, 3.5, 14, 18), 1.5, 1.5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRoundedRect(QRectF(7.5, 1.5, 6, 4), 1, 1);
    drawPage(p, QRectF(10.5, 8.5, 11, 14), 3);
    drawTextLines(p, 12.5, 19, 13, 3, 3);
}

void drawDelete(QPainter &p)
{
    p.setPen(pen(kRed, 3.5));
    p.drawLine(QPointF(5, 5), QPointF(19, 19));
    p.drawLine(QPointF(19, 5), QPointF(5, 19));
}

void drawFind(QPainter &p) { drawMagnifier(p, QPointF(9.5, 9.5), 6); }

void drawToolPanel(QPainter &p)
{
    p.setPen(pen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 2.5, 19, 19));
    p.setBrush(kBlue);
    p.drawRect(QRectF(2.5, 2.5, 19, 5));
    drawArrow(p, QPointF(12, 19), QPointF(12, 9), kInk, 2, 5);
}

void drawSelectAll(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 195, 240));
    p.drawRect(QRectF(3, 3, 18, 18));
    p.setPen(pen(kInk, 1.5));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(5.5, 6.5 + i * 4), QPointF(18.5, 6.5 + i * 4));
    QPen dashed = pen(kBlue, 1);
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, 21, 21));
}

void drawDateTime(QPainter &p)
{
    p.setPen(pen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(pen(kInk, 2));
    p.drawLine(QPointF(12, 12), QPointF(12, 6));
    p.setPen(pen(kRed, 1.8));
    p.drawLine(QPointF(12, 12), QPointF(16.5, 14.5));
}

void drawReverse(QPainter &p)
{
    drawGlyph(p, QStringLiteral("ab"), QRectF(0, -1, 24, 12), 11, kInk, true);
    drawGlyph(p, QStringLiteral("ba"), QRectF(0, 12, 24, 12), 11, kBlue, true);
    p.setPen(pen(kOutline, 1));
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
}

void drawReplace(QPainter &p)
{
    drawGlyph(p, QStringLiteral("a"), QRectF(0, 0, 10, 14), 13, kInk, true);
    drawGlyph(p, QStringLiteral("b"), QRectF(14, 10, 10, 14), 13, kBlue, true);
    drawArrow(p, QPointF(7, 15), QPointF(14, 8), kRed, 1.8, 4);
}

void drawHelp(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    drawGlyph(p, QStringLiteral("?"), QRectF(0, 0, 24, 24), 15, kPaper, true);
}

void drawAbout(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    drawGlyph(p, QStringLiteral("i"), QRectF(0, 0, 24, 24), 15, kPaper, true, false, true);
}

void drawInsertFile(QPainter &p)
{
    drawPage(p, QRectF(3.5, 7.5, 17, 15));
    drawTextLines(p, 6, 15, 16, 2, 3);
    drawArrow(p, QPointF(12, 0.5), QPointF(12, 13), kGreen, 2.5, 5);
}

void drawInsertFileName(QPainter &p)
{
    drawPage(p, QRectF(1.5, 1.5, 12, 15), 4);
    p.setPen(pen(kOutline, 1));
    p.setBrush(QColor(255, 245, 200));
    p.drawRect(QRectF(5.5, 13.5, 17, 8));
    drawGlyph(p, QStringLiteral("a.b"), QRectF(5.5, 13, 17, 9), 8, kInk, true);
}

void drawSortAscending(QPainter &p)
{
    drawGlyph(p, QStringLiteral("A"), QRectF(0, 0, 13, 12), 11, kInk, true);
    drawGlyph(p, QStringLiteral("Z"), QRectF(0, 12, 13, 12), 11, kInk, true);
    drawArrow(p, QPointF(18, 2), QPointF(18, 22), kBlue, 2, 5);
}

void drawEnglishLayout(QPainter &p) { drawKeyCap(p, QStringLiteral("EN"), kBlue); }
void drawRussianLayout(QPainter &p) { drawKeyCap(p, QStringLiteral("RU"), kRed); }

void drawItalic(QPainter &p)
{
    drawGlyph(p, QStringLiteral("I"), QRectF(0, 0, 24, 24), 19, kInk, true, true, true);
}

void drawUnderline(QPainter &p)
{
    drawGlyph(p, QStringLiteral("U"), QRectF(0, -2, 24, 22), 17, kInk, true);
    p.setPen(pen(kInk, 2));
    p.drawLine(QPointF(5, 21), QPointF(19, 21));
}

void drawBold(QPainter &p)
{
    drawGlyph(p, QStringLiteral("B"), QRectF(0, 0, 24, 24), 19, kInk, true);
}

void drawAlignLeft(QPainter &p) { drawAlignmentLines(p, Qt::AlignLeft); }
void drawAlignCentre(QPainter &p) { drawAlignmentLines(p, Qt::AlignHCenter); }
void drawAlignRight(QPainter &p) { drawAlignmentLines(p, Qt::AlignRight); }

void drawBullets(QPainter &p) { drawBulletList(p); }

void drawNoBullets(QPainter &p)
{
    drawBulletList(p);
    p.setPen(pen(kRed, 2.5));
    p.drawLine(QPointF(2, 21), QPointF(9, 2));
}

void drawFontDialog(QPainter &p)
{
    drawGlyph(p, QStringLiteral("A"), QRectF(0, 0, 15, 22), 19, kInk, false, false, true);
    drawGlyph(p, QStringLiteral("a"), QRectF(12, 6, 12, 16), 12, kBlue, false, true, true);
}

void drawMail(QPainter &p)
{
    p.setPen(pen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 5.5, 19, 13));
    p.setPen(pen(kBlue, 1.5));
    p.setBrush(Qt::NoBrush);
    QPolygonF flap;
    flap << QPointF(3, 6) << QPointF(12, 13) << QPointF(21, 6);
    p.drawPolyline(flap);
}

void drawCalendar(QPainter &p)
{
    p.setPen(pen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 3.5, 19, 18));
    p.setBrush(kRed);
    p.drawRect(QRectF(2.5, 3.5, 19, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(4.5 + col * 4.2, 10.5 + row * 3.7, 2.4, 2.2));
}

void drawCalculator(QPainter &p)
{
    p.setPen(pen(kInk, 1));
    p.setBrush(QColor(110, 110, 120));
    p.drawRoundedRect(QRectF(4.5, 1.5, 15, 21), 2, 2);
    p.setBrush(QColor(200, 230, 200));
    p.drawRect(QRectF(6.5, 3.5, 11, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(6.5 + col * 4, 10 + row * 4, 3, 2.6));
}

void drawIndentRight(QPainter &p) { drawIndent(p, true); }
void drawIndentLeft(QPainter &p) { drawIndent(p, false); }

void drawGeneric(QPainter &p)
{
    p.setPen(pen(kOutline, 1.5));
    p.setBrush(QColor(225, 225, 225));
    p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawEllipse(QPointF(12, 12), 3, 3);
}

// ---- the button table -------------------------------------------------------

using Painter = void (*)(QPainter &);

struct ButtonPicture {
    QStringList themeNames;  // tried in order; empty = always drawn
    Painter draw;
};

const QHash<QString, ButtonPicture> &buttonPictures()
{
    static const QHash<QString, ButtonPicture> table = {
        // ToolBar1: files, editing, inserts, keyboard layouts.
        {QStringLiteral("ToolButton1"), {{QStringLiteral("document-new")}, drawNew}},
        {QStringLiteral("ToolButton2"), {{QStringLiteral("document-open")}, drawOpen}},
        {QStringLiteral("ToolButton3"), {{QStringLiteral("document-save")}, drawSave}},
        {QStringLiteral("ToolButton4"), {{QStringLiteral("document-save-as")}, drawSaveAs}},
        {QStringLiteral("ToolButton5"),
         {{QStringLiteral("document-page-setup"), QStringLiteral("printer")}, drawPageSetup}},
        {QStringLiteral("ToolButton6"), {{QStringLiteral("document-print")}, drawPrinter}},
        {QStringLiteral("ToolButton7"), {{QStringLiteral("application-exit")}, drawExit}},
        {QStringLiteral("ToolButton8"), {{QStringLiteral("edit-undo")}, drawUndo}},
        {QStringLiteral("ToolButton9"), {{QStringLiteral("edit-redo")}, drawRedo}},
        {QStringLiteral("ToolButton10"), {{QStringLiteral("edit-copy")}, drawCopy}},
        {QStringLiteral("ToolButton11"), {{QStringLiteral("edit-cut")}, drawCut}},
        {QStringLiteral("ToolButton12"), {{QStringLiteral("edit-paste")}, drawPaste}},
        {QStringLiteral("ToolButton13"), {{QStringLiteral("edit-delete")}, drawDelete}},
        {QStringLiteral("ToolButton14"), {{QStringLiteral("edit-find")}, drawFind}},
        {QStringLiteral("ToolButton15"), {{}, drawToolPanel}},
        {QStringLiteral("ToolButton17"), {{QStringLiteral("edit-select-all")}, drawSelectAll}},
        {QStringLiteral("ToolButton18"), {{}, drawDateTime}},
        {QStringLiteral("ToolButton19"), {{}, drawReverse}},
        {QStringLiteral("ToolButton20"), {{QStringLiteral("edit-find-replace")}, drawReplace}},
        {QStringLiteral("ToolButton21"), {{QStringLiteral("help-contents")}, drawHelp}},
        {QStringLiteral("ToolButton22"), {{QStringLiteral("help-about")}, drawAbout}},
        {QStringLiteral("ToolButton23"), {{QStringLiteral("insert-text")}, drawInsertFile}},
        {QStringLiteral("ToolButton24"), {{}, drawInsertFileName}},
        {QStringLiteral("ToolButton25"), {{QStringLiteral("view-sort-ascending")}, drawSortAscending}},
        {QStringLiteral("ToolButton26"), {{}, drawEnglishLayout}},
        {QStringLiteral("ToolButton27"), {{}, drawRussianLayout}},
        // ToolBar2: character and paragraph format, accessories.
        {QStringLiteral("ToolButton28"), {{QStringLiteral("format-text-italic")}, drawItalic}},
        {QStringLiteral("ToolButton29"), {{QStringLiteral("format-text-underline")}, drawUnderline}},
        {QStringLiteral("ToolButton30"), {{QStringLiteral("format-text-bold")}, drawBold}},
        {QStringLiteral("ToolButton31"), {{QStringLiteral("format-justify-left")}, drawAlignLeft}},
        {QStringLiteral("ToolButton32"), {{QStringLiteral("format-justify-center")}, drawAlignCentre}},
        {QStringLiteral("ToolButton33"), {{QStringLiteral("format-justify-right")}, drawAlignRight}},
        // Themes rarely have a "no list" picture, so both list buttons are
        // drawn, which keeps the pair looking alike.
        {QStringLiteral("ToolButton35"), {{}, drawBullets}},
        {QStringLiteral("ToolButton36"), {{}, drawNoBullets}},
        {QStringLiteral("ToolButton37"), {{QStringLiteral("preferences-desktop-font")}, drawFontDialog}},
        {QStringLiteral("ToolButton39"),
         {{QStringLiteral("mail-send"), QStringLiteral("mail-message-new")}, drawMail}},
        {QStringLiteral("ToolButton40"), {{QStringLiteral("x-office-calendar")}, drawCalendar}},
        {QStringLiteral("ToolButton41"), {{QStringLiteral("accessories-calculator")}, drawCalculator}},
        {QStringLiteral("ToolButton42"), {{QStringLiteral("format-indent-more")}, drawIndentRight}},
        {QStringLiteral("ToolButton43"), {{QStringLiteral("format-indent-less")}, drawIndentLeft}},
    };
    return table;
}

QIcon drawnIcon(Painter draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        draw(p);
    }
    return QIcon(pixmap);
}

// A theme icon counts only if a picture can really be made from it: a theme
// may list an icon only as SVG, which cannot be read without the SVG plugin.
QIcon themedIcon(const QStringList &names)
{
    for (const QString &name : names) {
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull() && !icon.pixmap(QSize(kSize, kSize)).isNull())
            return icon;
    }
    return QIcon();
}

} // namespace

QIcon toolbarIcon(const QString &buttonName)
{
    const auto &table = buttonPictures();
    const auto it = table.constFind(buttonName);
    if (it == table.constEnd())
        return drawnIcon(drawGeneric);
    const QIcon themed = themedIcon(it->themeNames);
    return themed.isNull() ? drawnIcon(it->draw) : themed;
}

QIcon applicationIcon()
{
    // The resource lives in a static library; naming its initializer here
    // makes sure the linker keeps it.
    Q_INIT_RESOURCE(veltrix);
    return QIcon(QStringLiteral(":/veltrix.png"));
}
