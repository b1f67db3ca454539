#pragma once
// A platform header that reaches up into app: the layering check must refuse it.
#include "app/High.h"
