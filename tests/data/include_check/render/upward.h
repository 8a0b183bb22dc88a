// A renderer header that breaks the layers twice: the include check must refuse both.
#include "render/image.h"
#include "world/entity.h"
#include "image.h"
