#include "app/MainState.h"

#include "filters/FilterTables.h"

namespace gc::app {

namespace {

template <typename Library>
std::string setName(const Library& library, int index) {
    if (index < 0 || index >= static_cast<int>(library.size())) return {};
    return std::string(library[static_cast<size_t>(index)].name);
}

}  // namespace

std::string cfirSetName(int index) { return setName(gc::filters::cfirLibrary(), index); }
std::string pfirSetName(int index) { return setName(gc::filters::pfirLibrary(), index); }
std::string resamplerSetName(int index) { return setName(gc::filters::resamplerLibrary(), index); }

}  // namespace gc::app
