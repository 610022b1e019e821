// The bundled product types: one per fictional nation, and an example update file.
#pragma once

#include <string>

namespace kv::sample {

// Writes root/producttype.dat and root/data/sample.upd. Returns an error text, empty on
// success.
std::string writeProductData(const std::string& root);

}  // namespace kv::sample
