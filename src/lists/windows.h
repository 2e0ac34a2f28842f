// The windows of the product lists, made known to the forms layer by name.
#pragma once

namespace kv {

void registerListWindows();

}  // namespace kv
