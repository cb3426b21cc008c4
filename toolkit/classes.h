#pragma once
// The component classes that the toolkit itself provides, by their layout names.

#include "toolkit/form_loader.h"

TClassRegistry StandardClasses();
