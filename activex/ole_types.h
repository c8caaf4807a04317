// The C++ side of ole_types.idl: the platform's own declarations.
#pragma once

#include <ole2.h>
#include <olectl.h>
