#pragma once

#include <QList>
#include <QTextEdit>

// The editor control of the main window: a rich text component holding the one
// document of the program.
class TRxRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TRxRichEdit(QWidget *parent = nullptr);

    // Set by every edit, cleared only by the program.
    bool IsModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // Tab stops in dialog units (a quarter of the average character width of
    // `dialogFont`); each call replaces the stops of the previous one.
    void setTabStops(const QList<int> &dialogUnits, const QFont &dialogFont);
    QList<qreal> tabStopPixels() const;

    // Right indent of the paragraphs the selection touches, in whole points.
    void setRightEdgeIndent(int points);
    int rightEdgeIndent() const;

Q_SIGNALS:
    void OnChange();
    // Raised for every mouse button pressed in the text, position in viewport
    // coordinates.
    void OnMouseDown(Qt::MouseButton button, QPoint position);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool modified_ = false;
};
