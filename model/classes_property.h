#pragma once
// One data-file key of a level, bound to a ROM location.

#include <string>
#include <vector>

#include "model/IniFile.h"
#include "model/ObjectList.h"
#include "rom/iNESImage.h"

class T1ByteProperty {
public:
    T1ByteProperty(TiNESImage* image, TOffset offset, std::string name) : Image(image), Name(std::move(name)), Offset(offset) {}
    virtual ~T1ByteProperty() = default;
    virtual uint8_t GetValue() const { return Image->ReadByte(Offset); }
    virtual bool SetValue(uint8_t value) { return Image->WriteByte(Offset, value); }

    TiNESImage* Image;
    std::string Name;
    TOffset Offset;
};

class T1BytePropertyList : public TObjectList<T1ByteProperty> {
public:
    T1ByteProperty& Add(std::unique_ptr<T1ByteProperty> p) {
        Names.push_back(p->Name);
        return TObjectList::Add(std::move(p));
    }
    T1ByteProperty* Find(std::string_view name) const {
        const std::string key = ToLower(name);
        for (size_t i = 0; i < Names.size(); ++i)
            if (ToLower(Names[i]) == key) return &Items(static_cast<int>(i));
        return nullptr;
    }
    std::vector<std::string> Names;
};
