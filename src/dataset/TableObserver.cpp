#include "dataset/TableObserver.h"

#include "dataset/Table.h"

namespace zrn::ds {

TableObserver::~TableObserver() {
    // Leave every table first, so none of them calls back into a half-destroyed view.
    while (!tables_.empty())
        tables_.back()->detach(*this);
}

} // namespace zrn::ds
