// Embedded resources: a table written at build time (tools/embed_resources.cpp).
#include "platform/resources/resources.h"

#include <cstdint>

#include "platform/window/report.h"

namespace {

struct EmbeddedResource {
  const char* type;
  const char* name;
  const uint8_t* data;
  uint64_t size;
};

}  // namespace

extern "C" const EmbeddedResource quillorn_embedded_resources[];

namespace quillorn::platform {

namespace {
ResourceHook g_hook = nullptr;

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
}  // namespace

void SetResourceHook(ResourceHook hook) {
  g_hook = hook;
}

bool NamesEqual(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return false;
  return *a == *b;
}

bool FindResource(const char* type, const char* name, Resource& out) {
  if (type == nullptr || name == nullptr) return false;
  int answer = g_hook ? g_hook(type, name, out) : -1;
  for (const EmbeddedResource* r = quillorn_embedded_resources; answer < 0 && r->type; ++r) {
    if (NamesEqual(r->type, type) && NamesEqual(r->name, name)) {
      out.data = r->data;
      out.size = size_t(r->size);
      answer = 1;
    }
  }
  if (answer != 1) SayNoResource(type, name);
  return answer == 1;
}

}  // namespace quillorn::platform
