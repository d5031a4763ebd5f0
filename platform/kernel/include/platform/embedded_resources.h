// The registration interface of the sources that cmake/EmbedResources.cmake generates: each
// executable's generated source registers its resources here before main runs. Programs use
// FindResourceW and friends (platform/resources.h) instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// A type or name of a resource: a string (text set) or a number (text null).
struct ResourceId {
  const char16_t* text;
  uint16_t number;
};

struct EmbeddedResource {
  ResourceId type;
  ResourceId name;
  const unsigned char* data;
  size_t size;
};

// Adds resources that live for the whole process. A resource added later hides an earlier one
// of the same type and name (a runner can supply a program's data from a file this way).
// Returns true so that it can initialise a namespace-scope constant in the generated source.
bool RegisterEmbeddedResources(const EmbeddedResource* resources, size_t count);

}  // namespace platform
