#pragma once
// Allowed on its own: app may use platform.
#include "platform/Low.h"
