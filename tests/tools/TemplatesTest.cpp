#include "tools/Templates.h"

#include "editor/RichEditFixture.h"
#include "support/TestHelpers.h"

using templates::CodeTemplate;

namespace {

using testhelpers::u8;

struct Expected {
    CodeTemplate which;
    const char *name;
    QStringList lines;
    bool breakAfterLast;
};

const QList<Expected> &expectedTemplates()
{
    static const QList<Expected> all = {
        {CodeTemplate::Delphi, "Delphi",
         {"unit Unit1;", "", "interface", "", "uses",
          "Windows, Messages, SysUtils, Variants, Classes, Graphics, Controls, Forms, Dialogs;", "const", "",
          "type", "TForm1 = class(TForm)", "private {User declarations}", "", "public {User declarations}", "",
          "end;", "", "var", "Form1: TForm1;", "", "implementation", "", "{$R *.dfm}", "", "end."},
         true},
        {CodeTemplate::ObjectPascal, "Object Pascal",
         {"program Project1;", "", "{$APPTYPE CONSOLE}", "", "uses", "SysUtils;", "", "RxRichEdit1", "", "end."},
         true},
        {CodeTemplate::Html, "HTML",
         {"<HTML>", "   <HEAD>", u8("      <TITLE>Безымянный</TITLE>"), "   </HEAD>",
          "   <BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">", "         ", "   </BODY>", "</HTML>"},
         false},
        {CodeTemplate::CppHeader, "C++ header",
         {"#ifndef mainH", "#define mainH", "#include <Classes.hpp>", "#include <Controls.hpp>",
          "#include <StdCtrls.hpp>", "#include <Forms.hpp>", "#include <ExtCtrls.hpp>", "class TForm1 : public TForm",
          "{", "__published:", "private:\t// User declarations", "public:\t// User declarations", "};",
          "extern PACKAGE TForm1 *Form1;", "#endif"},
         true},
        {CodeTemplate::Cpp, "CPP",
         {"#include <vcl.h>", "#pragma hdrstop", "#include \"main.h\"", "#pragma resource \"*.dfm\"",
          "TForm1 *Form1;"},
         true},
    };
    return all;
}

QString expectedText(const Expected &e)
{
    const QString text = e.lines.join(QStringLiteral("\r\n"));
    return e.breakAfterLast ? text + QStringLiteral("\r\n") : text;
}

} // namespace

TEST(Templates, LinesAsWritten)
{
    const int counts[] = {24, 10, 8, 15, 5};
    int i = 0;
    for (const Expected &e : expectedTemplates()) {
        EXPECT_EQ(templates::lines(e.which), e.lines) << e.name;
        EXPECT_EQ(templates::lines(e.which).size(), counts[i++]) << e.name;
    }
}

class TemplatesInEditor : public RichEditTest {};

TEST_F(TemplatesInEditor, ReplaceTheDocumentWithTheirBreakRulesAndMarkItModified)
{
    for (const Expected &e : expectedTemplates()) {
        editor->setText(QStringLiteral("former text\r\nsecond paragraph"));
        select(3, 5);
        editor->setModified(false);
        templates::putTemplate(*editor, e.which);
        EXPECT_EQ(editor->Text(), expectedText(e)) << e.name;
        EXPECT_TRUE(editor->IsModified()) << e.name;
    }
}

TEST_F(TemplatesInEditor, AnEmptyUnnamedDocumentCountsAsModifiedAfterwards)
{
    editor->ClearAll();
    ASSERT_FALSE(editor->IsModified());
    templates::putTemplate(*editor, CodeTemplate::Cpp);
    EXPECT_TRUE(editor->IsModified());
}

TEST_F(TemplatesInEditor, TheSecondOfTwoReplacesTheFirstEntirely)
{
    templates::putTemplate(*editor, CodeTemplate::Delphi);
    templates::putTemplate(*editor, CodeTemplate::Cpp);
    EXPECT_EQ(editor->Text(), expectedText(expectedTemplates().at(4)));
}

TEST_F(TemplatesInEditor, WrappedLinesDoNotDisturbTheLineByLineAdd)
{
    // The long "uses" line wraps in a narrow window; each line still goes at
    // the end, once.
    editor->resize(120, 300);
    ASSERT_TRUE(editor->WordWrap());
    for (const Expected &e : expectedTemplates()) {
        templates::putTemplate(*editor, e.which);
        EXPECT_EQ(editor->Text(), expectedText(e)) << e.name;
    }
}

TEST_F(TemplatesInEditor, HtmlSavedAsTextByteForByte)
{
    templates::putTemplate(*editor, CodeTemplate::Html);
    const QString path = dir.filePath(QStringLiteral("page.txt"));
    editor->SaveFile(path);
    const QByteArray expected = "<HTML>\r\n   <HEAD>\r\n      <TITLE>\xC1\xE5\xE7\xFB\xEC\xFF\xED\xED\xFB\xE9</TITLE>\r\n"
                                "   </HEAD>\r\n   <BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">\r\n         \r\n"
                                "   </BODY>\r\n</HTML>";
    EXPECT_EQ(readFile(path), expected);
}

TEST_F(TemplatesInEditor, CppHeaderSavedAsTextKeepsItsTabs)
{
    templates::putTemplate(*editor, CodeTemplate::CppHeader);
    const QString path = dir.filePath(QStringLiteral("main.txt"));
    editor->SaveFile(path);
    const QByteArray saved = readFile(path);
    EXPECT_TRUE(saved.contains("\r\nprivate:\t// User declarations\r\npublic:\t// User declarations\r\n"));
    EXPECT_TRUE(saved.endsWith("extern PACKAGE TForm1 *Form1;\r\n#endif\r\n"));
}
