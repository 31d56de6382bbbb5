#include "accessories/CalculatorWindow.h"
#include "editor/TRxRichEdit.h"

#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

class CalculatorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = std::make_unique<TRxRichEdit>();
        editor->resize(400, 300);
        editor->show();
        form = std::make_unique<TForm2>(
            *editor, [this](const QString &message) { reported.append(message); }, QLatin1Char(','));
    }

    QToolButton *button(const QString &name) { return form->findChild<QToolButton *>(name); }

    std::unique_ptr<TRxRichEdit> editor;
    std::unique_ptr<TForm2> form;
    QStringList reported;
};

} // namespace

TEST_F(CalculatorWindowTest, StartsHiddenAndNonModal)
{
    EXPECT_EQ(form->objectName(), "Form2");
    EXPECT_EQ(form->windowTitle(), "Calculator");
    EXPECT_TRUE(form->isWindow());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->windowModality(), Qt::NonModal);
    EXPECT_FALSE(form->testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(form->pos(), QPoint(507, 230));
}

TEST_F(CalculatorWindowTest, FieldsAtTheirPlacesNamedByTheirHints)
{
    struct Row {
        const char *name;
        QRect geometry;
        const char *hint;
    };
    const Row rows[] = {
        {"Edit1", QRect(8, 8, 145, 21), "Введите первое число"},
        {"Edit2", QRect(8, 32, 145, 21), "Введите второе число"},
        {"Edit3", QRect(8, 56, 145, 21), "Ответ"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto *field = form->findChild<QLineEdit *>(QString::fromLatin1(row.name));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->geometry(), row.geometry);
        EXPECT_EQ(field->toolTip(), QString::fromUtf8(row.hint));
        EXPECT_EQ(field->accessibleName(), QString::fromUtf8(row.hint));
        EXPECT_FALSE(field->isReadOnly());
    }
    EXPECT_EQ(form->findChild<QWidget *>("ToolBar1")->geometry(), QRect(8, 80, 145, 73));
}

TEST_F(CalculatorWindowTest, TwelveButtonsInThreeRowsOfFour)
{
    struct Row {
        const char *name;
        const char *caption;
        const char *hint;
        int row;
        int column;
    };
    const Row rows[] = {
        {"ToolButton1", "+", "Сложение", 0, 0},
        {"ToolButton2", "-", "Вычитание", 0, 1},
        {"ToolButton3", "*", "Умножение", 0, 2},
        {"ToolButton4", "/", "Деление", 0, 3},
        {"ToolButton5", "sqrt", "Квадратный корень", 1, 0},
        {"ToolButton6", "sqr", "Квадратная степень", 1, 1},
        {"ToolButton7", "^", "Произвольная степень", 1, 2},
        {"ToolButton8", "fact", "Факториал", 1, 3},
        {"ToolButton9", "div", "Целочисленное частное от деления двух чисел", 2, 0},
        {"ToolButton10", "mod", "Целочисленный остаток от деления двух чисел", 2, 1},
        {"ToolButton11", "ln", "Натуральный логарифм", 2, 2},
        {"ToolButton12", "COPY", "Копировать ответ в текст", 2, 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QToolButton *b = button(QString::fromLatin1(row.name));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->parentWidget()->objectName(), "ToolBar1");
        EXPECT_EQ(b->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(row.hint));
        EXPECT_EQ(b->geometry(), QRect(row.column * 36, row.row * 21, 36, 21));
    }
}

TEST_F(CalculatorWindowTest, ButtonsWriteTheResultOrReportAndKeepIt)
{
    struct Row {
        const char *button;
        const char *first;
        const char *second;
        const char *result;   // Edit3 afterwards
        const char *reported; // nullptr: nothing
    };
    const Row rows[] = {
        {"ToolButton1", "2", "3", "5", nullptr},
        {"ToolButton2", "7", "2", "5", nullptr},
        {"ToolButton3", "1,5", "2", "3", nullptr},
        {"ToolButton4", "7", "2", "3,5", nullptr},
        {"ToolButton4", "2.5", "1", "old", "'2.5' is not a valid floating point value"},
        {"ToolButton4", "1", "0", "old", "Floating point division by zero"},
        {"ToolButton5", "-4", "", "old", "Invalid floating point operation"},
        {"ToolButton6", "1E300", "", "1E600", nullptr},
        {"ToolButton7", "2", "10", "1024", nullptr},
        {"ToolButton7", "x", "y", "old", "'y' is not a valid floating point value"},
        {"ToolButton8", "3,5", "", "6,5625", nullptr},
        {"ToolButton8", "171", "", "old", "Floating point overflow"},
        {"ToolButton9", "-7", "2", "-3", nullptr},
        {"ToolButton9", "-2147483648", "-1", "old", "Integer overflow"},
        {"ToolButton10", "-7", "2", "-1", nullptr},
        {"ToolButton10", "5", "0", "old", "Division by zero"},
        {"ToolButton10", "5 ", "2", "old", "'5 ' is not a valid integer value"},
        {"ToolButton11", "1", "", "0", nullptr},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.button) + " " + row.first + " " + row.second);
        reported.clear();
        form->Edit1->setText(QString::fromUtf8(row.first));
        form->Edit2->setText(QString::fromUtf8(row.second));
        form->Edit3->setText(QStringLiteral("old"));
        button(QString::fromLatin1(row.button))->click();
        EXPECT_EQ(form->Edit3->text(), QString::fromUtf8(row.result));
        EXPECT_EQ(form->Edit1->text(), QString::fromUtf8(row.first));
        EXPECT_EQ(form->Edit2->text(), QString::fromUtf8(row.second));
        EXPECT_EQ(reported, row.reported ? QStringList{QString::fromUtf8(row.reported)} : QStringList{});
    }
}

TEST_F(CalculatorWindowTest, CopyReplacesTheEditorSelectionWithTheResultField)
{
    struct Row {
        const char *result;
        int start;
        int length;
        const char *text;
    };
    const Row rows[] = {
        {"42", 6, 5, "Hello 42"},    // the selection replaced
        {"3,5", 5, 0, "Hello3,5 world"}, // inserted at the caret
        {"", 5, 6, "Hello"},         // an empty result deletes the selection
        {"typed by hand", 0, 5, "typed by hand world"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        editor->setText(QStringLiteral("Hello world"));
        editor->setSelectionStart(row.start);
        editor->setSelectionLength(row.length);
        form->Edit3->setText(QString::fromUtf8(row.result));
        button("ToolButton12")->click();
        EXPECT_EQ(editor->Text(), QString::fromUtf8(row.text));
        EXPECT_EQ(editor->SelectionStart(), row.start);
        EXPECT_EQ(editor->SelectionLength(), QString::fromUtf8(row.result).size());
        EXPECT_EQ(form->Edit3->text(), QString::fromUtf8(row.result));
        EXPECT_TRUE(reported.isEmpty());
    }
}

TEST_F(CalculatorWindowTest, ClosingHidesAndKeepsTheFields)
{
    form->Show();
    form->Edit1->setText(QStringLiteral("7"));
    form->Edit2->setText(QStringLiteral("2"));
    form->Edit3->setText(QStringLiteral("3,5"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    form->Show();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Edit1->text(), "7");
    EXPECT_EQ(form->Edit2->text(), "2");
    EXPECT_EQ(form->Edit3->text(), "3,5");
}
