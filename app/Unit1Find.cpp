// Find and replace.
#include "app/Unit1.h"

void TForm1::ToolButton14Click() { handlerRan(__func__); }
void TForm1::ToolButton20Click() { handlerRan(__func__); }
