#include "dataset/DataSource.h"

#include "dataset/Table.h"

namespace zrn::ds {

bool DataSource::ensureEditing() {
    if (!table_ || !table_->isActive())
        return false;
    if (!table_->isEditing() && autoEdit_)
        table_->edit();
    return table_->isEditing();
}

} // namespace zrn::ds
