#include "ui/app/ModuleRegistry.h"

#include <array>
#include <utility>

namespace zrn::ui {

namespace {

std::array<ModuleFactory, 4>& Factories() {
    static std::array<ModuleFactory, 4> factories;
    return factories;
}

} // namespace

ModuleFactory SetModuleFactory(TModule module, ModuleFactory factory) {
    return std::exchange(Factories()[static_cast<std::size_t>(module)], std::move(factory));
}

const ModuleFactory& ModuleFactoryOf(TModule module) {
    return Factories()[static_cast<std::size_t>(module)];
}

} // namespace zrn::ui
