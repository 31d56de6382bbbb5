#pragma once

#include "accessories/Calculator.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;
class TRxRichEdit;

// The calculator window: created hidden at start, shown on demand, alive until
// the program ends. Closing hides it; the fields keep their texts.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    // Shows the message of an error that ended an operation.
    using ErrorReporter = std::function<void(const QString &message)>;

    // "COPY" writes into `editor`; failures go to `reportError`, as the
    // application's default error display would show them.
    TForm2(TRxRichEdit &editor, ErrorReporter reportError,
           QChar decimalSeparator = calculator::regionalDecimalSeparator(), QWidget *parent = nullptr);

    // Shows the window, or brings it to the front when it is already shown.
    void Show();

    QLineEdit *Edit1 = nullptr; // first number
    QLineEdit *Edit2 = nullptr; // second number
    QLineEdit *Edit3 = nullptr; // result
    QWidget *ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr;  // +
    QToolButton *ToolButton2 = nullptr;  // -
    QToolButton *ToolButton3 = nullptr;  // *
    QToolButton *ToolButton4 = nullptr;  // /
    QToolButton *ToolButton5 = nullptr;  // sqrt
    QToolButton *ToolButton6 = nullptr;  // sqr
    QToolButton *ToolButton7 = nullptr;  // ^
    QToolButton *ToolButton8 = nullptr;  // fact
    QToolButton *ToolButton9 = nullptr;  // div
    QToolButton *ToolButton10 = nullptr; // mod
    QToolButton *ToolButton11 = nullptr; // ln
    QToolButton *ToolButton12 = nullptr; // COPY

    // Button handlers; each raises VeltrixError on failure and leaves Edit3 as it was.
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton4Click();
    void ToolButton5Click();
    void ToolButton6Click();
    void ToolButton7Click();
    void ToolButton8Click();
    void ToolButton9Click();
    void ToolButton10Click();
    void ToolButton11Click();
    void ToolButton12Click();

private:
    QToolButton *addButton(int index, const char *caption, const char *hint, void (TForm2::*handler)());
    void runGuarded(void (TForm2::*handler)());
    void calculate(calculator::Operation operation);

    TRxRichEdit &editor_;
    ErrorReporter reportError_;
    QChar decimalSeparator_;
};
