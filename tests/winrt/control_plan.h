// Controls for windows built in tests.
#pragma once

#include <string>

#include "winrt/window.h"

namespace lumbra {

inline ControlPlan Ctl(ControlType type, std::int32_t number, UnitRect rect,
                       std::string text = {}) {
  ControlPlan c;
  c.type = type;
  c.number = number;
  c.rect = rect;
  c.text = std::move(text);
  return c;
}

}  // namespace lumbra
