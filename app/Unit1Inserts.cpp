// Inserts, keyboard layouts and statistics.
#include "app/Unit1.h"

void TForm1::ToolButton18Click() { handlerRan(__func__); }
void TForm1::ToolButton23Click() { handlerRan(__func__); }
void TForm1::ToolButton24Click() { handlerRan(__func__); }
void TForm1::Delphi1Click() { handlerRan(__func__); }
void TForm1::Pascal1Click() { handlerRan(__func__); }
void TForm1::HTML1Click() { handlerRan(__func__); }
void TForm1::Cheader1Click() { handlerRan(__func__); }
void TForm1::CPP1Click() { handlerRan(__func__); }
void TForm1::N113Click() { handlerRan(__func__); }
void TForm1::ToolButton26Click() { handlerRan(__func__); }
void TForm1::ToolButton27Click() { handlerRan(__func__); }
void TForm1::N54Click() { handlerRan(__func__); }
