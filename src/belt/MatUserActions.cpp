#include "belt/d_mat.h"

#include "dataset/DataSource.h"

// What the input window's controls do with the record, so that a session can be replayed
// without windows.
namespace zrn::belt {

void Tdm_mat::EnterText(const std::string& fieldName, const std::string& text) {
    ds::Field& field = Invoer(fieldName);
    ds::DataSource source(&cds_invoer);
    source.ensureEditing();
    field.setText(text);
}

void Tdm_mat::EnterZoneText(int index, const std::string& fieldName, const std::string& text) {
    ds::Table& zones = cds_invoer_zones;
    ds::Field& field = zones.fieldByName(fieldName);
    if (!zones.locate("index", {ds::Value(index)}))
        throw Error("There is no temperature zone " + std::to_string(index));
    ds::DataSource source(&zones);
    source.ensureEditing();
    field.setText(text);
}

void Tdm_mat::PickLookup(const std::string& fieldName, const std::string& key) {
    ds::Table* list = LookupTable(fieldName);
    if (!list)
        throw Error("Field '" + fieldName + "' has no lookup list");
    const std::string keyName = LookupKeyField(fieldName);
    if (!list->locate(keyName, {ds::Value(key)}))
        throw Error("'" + key + "' is not in the list of " + fieldName);
    ds::Field& data = Invoer(fieldName);
    const ds::Field& keyField = list->fieldByName(keyName);
    // Choosing the key already held changes nothing: its rule would clear dependent choices.
    if (!data.isNull() && data.asString() == keyField.asString())
        return;
    ds::DataSource source(&cds_invoer);
    source.ensureEditing();
    data.setValue(keyField.value());
}

void Tdm_mat::EnterLookup(const std::string& fieldName) {
    ds::Table* list = LookupTable(fieldName);
    ds::Field& data = Invoer(fieldName);
    if (!list || !list->isActive() || !data.isNull())
        return;
    list->first();
    if (list->isEmpty())
        return;
    ds::DataSource source(&cds_invoer);
    source.ensureEditing();
    data.setValue(list->fieldByName(LookupKeyField(fieldName)).value());
}

void Tdm_mat::ClickCheckBox(const std::string& fieldName, bool checked) {
    ds::Field& field = Invoer(fieldName);
    ds::DataSource source(&cds_invoer);
    source.ensureEditing();
    field.setAsBoolean(checked);
}

} // namespace zrn::belt
