// A renderer header that breaks the layers in every way the include check must see,
// each refused with its line; the allowed includes between them must pass.
#include "render/image.h"
#include "world/entity.h"
#include "image.h"
#include <world/entity.h>
#include "render/../world/entity.h"
#include "../world/entity.h"
#include "../../tests/support/x.h"
#include SOME_HEADER
#include <vector>
// Values in [0, 1): a bracket must not glue the following lines into this one
#include "world/entity.h"
// A semicolon; it must not split this line in two
#include "world/entity.h"
