// Compiled as an engine by the layering test: it must not build.
#include "ui/form.h"
