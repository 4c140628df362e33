#include "core/render_context.h"

RenderContext renderContext{};
