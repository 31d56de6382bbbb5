#include "accessories/CalculatorWindow.h"

#include "editor/TRxRichEdit.h"
#include "platform/VeltrixError.h"

#include <QIcon>
#include <QLineEdit>
#include <QToolButton>
#include <exception>

namespace {

// Positions and sizes from the window definition, in pixels.
constexpr int kLeft = 507;
constexpr int kTop = 230;
// Outer 169 × 194 less the 4-pixel sizing border and the 19-pixel caption.
constexpr int kClientWidth = 161;
constexpr int kClientHeight = 167;
constexpr int kFieldLeft = 8;
constexpr int kFieldWidth = 145;
constexpr int kFieldHeight = 21;
constexpr int kEdit1Top = 8;
constexpr int kEdit2Top = 32;
constexpr int kEdit3Top = 56;
constexpr int kToolBarTop = 80;
constexpr int kToolBarHeight = 73;
constexpr int kButtonWidth = 36;
constexpr int kButtonHeight = 21;
constexpr int kButtonsPerRow = 4;
constexpr int kFontPoints = 8;

QLineEdit *makeField(QWidget *parent, const char *name, int top, const char *hint)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(kFieldLeft, top, kFieldWidth, kFieldHeight);
    // The fields carry no label: the hint names them.
    field->setToolTip(QString::fromUtf8(hint));
    field->setAccessibleName(QString::fromUtf8(hint));
    return field;
}

} // namespace

TForm2::TForm2(TRxRichEdit &editor, ErrorReporter reportError, QChar decimalSeparator, QWidget *parent)
    : QWidget(parent, Qt::Window), editor_(editor), reportError_(std::move(reportError)),
      decimalSeparator_(decimalSeparator)
{
    setObjectName(QStringLiteral("Form2"));
    // The program ends with the main window, whatever this one is doing.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Calculator"));
    const QIcon icon = QIcon::fromTheme(QStringLiteral("accessories-calculator"));
    if (!icon.isNull())
        setWindowIcon(icon);
    QFont windowFont = font();
    windowFont.setPointSize(kFontPoints);
    setFont(windowFont);
    move(kLeft, kTop);
    resize(kClientWidth, kClientHeight);

    // The texts are the same in both interface languages; the hints are Russian.
    Edit1 = makeField(this, "Edit1", kEdit1Top, "Введите первое число");
    Edit2 = makeField(this, "Edit2", kEdit2Top, "Введите второе число");
    Edit3 = makeField(this, "Edit3", kEdit3Top, "Ответ");

    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(kFieldLeft, kToolBarTop, kFieldWidth, kToolBarHeight);
    ToolButton1 = addButton(0, "+", "Сложение", &TForm2::ToolButton1Click);
    ToolButton2 = addButton(1, "-", "Вычитание", &TForm2::ToolButton2Click);
    ToolButton3 = addButton(2, "*", "Умножение", &TForm2::ToolButton3Click);
    ToolButton4 = addButton(3, "/", "Деление", &TForm2::ToolButton4Click);
    ToolButton5 = addButton(4, "sqrt", "Квадратный корень", &TForm2::ToolButton5Click);
    ToolButton6 = addButton(5, "sqr", "Квадратная степень", &TForm2::ToolButton6Click);
    ToolButton7 = addButton(6, "^", "Произвольная степень", &TForm2::ToolButton7Click);
    ToolButton8 = addButton(7, "fact", "Факториал", &TForm2::ToolButton8Click);
    ToolButton9 = addButton(8, "div", "Целочисленное частное от деления двух чисел", &TForm2::ToolButton9Click);
    ToolButton10 = addButton(9, "mod", "Целочисленный остаток от деления двух чисел", &TForm2::ToolButton10Click);
    ToolButton11 = addButton(10, "ln", "Натуральный логарифм", &TForm2::ToolButton11Click);
    ToolButton12 = addButton(11, "COPY", "Копировать ответ в текст", &TForm2::ToolButton12Click);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, ToolButton1);
}

QToolButton *TForm2::addButton(int index, const char *caption, const char *hint, void (TForm2::*handler)())
{
    auto *button = new QToolButton(ToolBar1);
    button->setObjectName(QStringLiteral("ToolButton%1").arg(index + 1));
    button->setText(QString::fromLatin1(caption));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setGeometry((index % kButtonsPerRow) * kButtonWidth, (index / kButtonsPerRow) * kButtonHeight,
                        kButtonWidth, kButtonHeight);
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleDescription(QString::fromUtf8(hint));
    connect(button, &QToolButton::clicked, this, [this, handler] { runGuarded(handler); });
    return button;
}

void TForm2::Show()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

// Errors stop at the button: an exception must not unwind through Qt's signal
// delivery, and this window cannot reach the application's error display itself.
void TForm2::runGuarded(void (TForm2::*handler)())
{
    try {
        (this->*handler)();
    } catch (const VeltrixError &error) {
        reportError_(error.message());
    } catch (const std::exception &error) {
        reportError_(QString::fromLocal8Bit(error.what()));
    }
}

// The result is written only once it exists, so a failure leaves Edit3 alone.
void TForm2::calculate(calculator::Operation operation)
{
    Edit3->setText(calculator::calculate(operation, Edit1->text(), Edit2->text(), decimalSeparator_));
}

void TForm2::ToolButton1Click()
{
    calculate(calculator::Operation::Add);
}

void TForm2::ToolButton2Click()
{
    calculate(calculator::Operation::Subtract);
}

void TForm2::ToolButton3Click()
{
    calculate(calculator::Operation::Multiply);
}

void TForm2::ToolButton4Click()
{
    calculate(calculator::Operation::Divide);
}

void TForm2::ToolButton5Click()
{
    calculate(calculator::Operation::SquareRoot);
}

void TForm2::ToolButton6Click()
{
    calculate(calculator::Operation::Square);
}

void TForm2::ToolButton7Click()
{
    calculate(calculator::Operation::Power);
}

void TForm2::ToolButton8Click()
{
    calculate(calculator::Operation::Factorial);
}

void TForm2::ToolButton9Click()
{
    calculate(calculator::Operation::Quotient);
}

void TForm2::ToolButton10Click()
{
    calculate(calculator::Operation::Remainder);
}

void TForm2::ToolButton11Click()
{
    calculate(calculator::Operation::NaturalLog);
}

void TForm2::ToolButton12Click()
{
    editor_.setSelectedText(Edit3->text());
}
