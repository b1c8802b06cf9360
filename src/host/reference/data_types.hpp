#pragma once

#include <string>
#include <vector>

#include "host/data_type.hpp"
#include "host/host_export.hpp"
#include "host/interned.hpp"
#include "host/reference/objects.hpp"

namespace orrery::reference {

// The host's built-in classes. Each has a data type under its own name and under the
// name followed by " scalar" or " vector"; "any" is a data type of its own.
ORRERY_HOST_API const std::vector<std::string>& builtinClassNames();
// Whether the type id names a built-in class, with or without a shape suffix. Values
// of such types never hold objects.
ORRERY_HOST_API bool isBuiltinClassType(const std::string& typeId);

// The data-type id of one object of a class ("pkg.Point scalar") or of a row of them
// ("pkg.Point vector"), and the class a data-type id names: the text before a trailing
// " scalar" or " vector", or the whole text when there is no such suffix.
ORRERY_HOST_API std::string scalarTypeName(const std::string& className);
ORRERY_HOST_API std::string vectorTypeName(const std::string& className);
ORRERY_HOST_API std::string classNameOfType(const std::string& typeId);

// A data type of the reference host. Default values: 0 for double, false for logical,
// '' for char and string, a 0-by-0 double array for any, and a 0-by-0 object array
// for a class type. Values it hands out are counted until they are released.
class ORRERY_HOST_API DataType final : public COSInterface, public COSDataType {
public:
    DataType(COSId id, bool immortal);

    COSId getTypeID() override;
    COSValue makeDefaultValue(COSId typeId) override;
    // Only values this host handed out count as given back.
    void releaseValue(COSValue value) override;

private:
    COSId id_;
};

}  // namespace orrery::reference
