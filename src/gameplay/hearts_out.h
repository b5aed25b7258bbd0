// The potion wears off when the last heart is spent.
#pragma once

namespace quillorn {

void OutOfHearts();

}  // namespace quillorn
