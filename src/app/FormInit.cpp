// The main window laid out from the settings, once, when it loads.

#include "Velt.h"

void Velt::FormInit()
{
    bindGrids();
}
