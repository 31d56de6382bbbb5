#include "tools/Templates.h"

#include "editor/TRxRichEdit.h"

namespace templates {

namespace {

const char *const kDelphi[] = {
    "unit Unit1;",
    "",
    "interface",
    "",
    "uses",
    "Windows, Messages, SysUtils, Variants, Classes, Graphics, Controls, Forms, Dialogs;",
    "const",
    "",
    "type",
    "TForm1 = class(TForm)",
    "private {User declarations}",
    "",
    "public {User declarations}",
    "",
    "end;",
    "",
    "var",
    "Form1: TForm1;",
    "",
    "implementation",
    "",
    "{$R *.dfm}",
    "",
    "end.",
};

const char *const kObjectPascal[] = {
    "program Project1;",
    "",
    "{$APPTYPE CONSOLE}",
    "",
    "uses",
    "SysUtils;",
    "",
    "RxRichEdit1",
    "",
    "end.",
};

const char *const kHtml[] = {
    "<HTML>",
    "   <HEAD>",
    "      <TITLE>Безымянный</TITLE>",
    "   </HEAD>",
    "   <BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\">",
    "         ",
    "   </BODY>",
    "</HTML>",
};

const char *const kCppHeader[] = {
    "#ifndef mainH",
    "#define mainH",
    "#include <Classes.hpp>",
    "#include <Controls.hpp>",
    "#include <StdCtrls.hpp>",
    "#include <Forms.hpp>",
    "#include <ExtCtrls.hpp>",
    "class TForm1 : public TForm",
    "{",
    "__published:",
    "private:\t// User declarations",
    "public:\t// User declarations",
    "};",
    "extern PACKAGE TForm1 *Form1;",
    "#endif",
};

const char *const kCpp[] = {
    "#include <vcl.h>",
    "#pragma hdrstop",
    "#include \"main.h\"",
    "#pragma resource \"*.dfm\"",
    "TForm1 *Form1;",
};

template <std::size_t N>
QStringList toList(const char *const (&lines)[N])
{
    QStringList list;
    list.reserve(qsizetype(N));
    for (const char *line : lines)
        list.append(QString::fromUtf8(line));
    return list;
}

} // namespace

QStringList lines(CodeTemplate which)
{
    switch (which) {
    case CodeTemplate::Delphi:
        return toList(kDelphi);
    case CodeTemplate::ObjectPascal:
        return toList(kObjectPascal);
    case CodeTemplate::Html:
        return toList(kHtml);
    case CodeTemplate::CppHeader:
        return toList(kCppHeader);
    case CodeTemplate::Cpp:
        return toList(kCpp);
    }
    return {};
}

void putTemplate(TRxRichEdit &editor, CodeTemplate which)
{
    // Clear and fill are one replacement of the document, undone in one step.
    editor.ClearAll();
    // Every template but HTML ends with a paragraph break after its last line.
    QString text = lines(which).join(QStringLiteral("\r\n"));
    if (which != CodeTemplate::Html)
        text += QStringLiteral("\r\n");
    editor.setText(text);
    editor.setModified(true);
}

} // namespace templates
