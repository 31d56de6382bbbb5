// Text transforms, numbers to words and recoding.
#include "app/Unit1.h"

void TForm1::ToolButton19Click() { handlerRan(__func__); }
void TForm1::ToolButton25Click() { handlerRan(__func__); }
void TForm1::N115Click() { handlerRan(__func__); }
void TForm1::N116Click() { handlerRan(__func__); }
void TForm1::N106Click() { handlerRan(__func__); }
void TForm1::Koir1Click() { handlerRan(__func__); }
void TForm1::Koir8Win1Click() { handlerRan(__func__); }
void TForm1::WinUTF81Click() { handlerRan(__func__); }
void TForm1::UTF8Win1Click() { handlerRan(__func__); }
