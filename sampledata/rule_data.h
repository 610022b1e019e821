// Writes the bundled anthem list with its music, further music, the production presets and
// the rule sets into a program folder.
#pragma once

#include <string>

namespace kv::sample {

// Writes root/anthem.lst, root/bgm/ (anthems and other music), root/product/prodef00.dat to
// prodef09.dat and root/rule/class0.rul to class21.rul, creating the folders. The bytes are
// the same on every run. Returns an error text, or empty on success.
std::string writeRuleData(const std::string& root);

}  // namespace kv::sample
