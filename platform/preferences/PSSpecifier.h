#pragma once

// One row (or group) of a preference screen, as a specifier file describes it.
//
// A specifier file is a property list { items = ( {...}, ... ); title = "..."; } in the pane's
// bundle. Each item is a dictionary:
//   cell      PSGroupCell | PSLinkCell | PSLinkListCell | PSSwitchCell | PSSliderCell | PSButtonCell | PSStaticTextCell
//   label     the row's text (a group's header)
//   id        the identifier specifierForID finds (optional)
//   get, set  selector names sent to the target for the value: "get:" takes the specifier and
//             answers an object; "set:specifier:" takes the new value and the specifier. Without
//             them the list controller reads and writes `key` in the `defaults` domain's file.
//   detail    class name of the screen a link row opens (PSViewController subclass, or a
//             PSSetupController subclass, which is presented modally)
//   customControllerClass  for a PSSetupController detail: the screen it shows
//   cellClass class name of a custom cell (a PSTableCell subclass)
//   footerText a group's footer; height a row's height; enabled a row's state (YES when absent);
//   min, max, showValue for sliders; validValues, validTitles for a PSLinkListCell
// Every other entry is kept as a property. Properties are the item's entries; setProperty changes
// them for this specifier only (the file is never written).

#include <foundation/NSDictionary.h>
#include <foundation/NSMutableDictionary.h>
#include <runtime/Object.h>
#include <runtime/Ref.h>
#include <runtime/RefPtr.h>
#include <runtime/WeakPtr.h>

#include <optional>
#include <string>
#include <string_view>

namespace preferences {

enum class PSCellType {
    Group,
    Link,
    LinkList,
    Switch,
    Slider,
    Button,
    StaticText,
};

class PSSpecifier : public runtime::Object {
    TORVANE_OBJECT(PSSpecifier, runtime::Object)
public:
    // One item of a specifier file; nullptr for an item that is not a dictionary or names an
    // unknown cell type (the loader skips it and logs why).
    static runtime::RefPtr<PSSpecifier> createFromItem(const runtime::Object& item, runtime::Object* target);
    static runtime::Ref<PSSpecifier> create(std::string name, PSCellType type, runtime::Object* target = nullptr);

    PSCellType cellType() const { return m_type; }
    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }
    // The `id` entry; empty when the item has none.
    const std::string& identifier() const { return m_identifier; }
    void setIdentifier(std::string identifier) { m_identifier = std::move(identifier); }

    runtime::Object* target() const { return m_target.get(); }
    void setTarget(runtime::Object* target) { m_target = target; }
    const std::string& getterName() const { return m_getter; }
    const std::string& setterName() const { return m_setter; }

    // propertyForKey: / setProperty:forKey: (a nil value removes the property).
    runtime::Object* propertyForKey(std::string_view key) const;
    void setPropertyForKey(runtime::RefPtr<runtime::Object> value, std::string_view key);
    // The text form of a property, if it has one.
    std::optional<std::string> stringProperty(std::string_view key) const;
    // The "enabled" property's boolValue; YES when it is absent.
    bool isEnabled() const;

    // The value the row shows: its getter's answer (sent to the target), or, without a getter, the
    // stored value of `key` in the `defaults` domain (the `default` entry when none is stored).
    runtime::RefPtr<runtime::Object> readValue();
    // Sends the setter to the target with the new value; without a setter, merges key = value into
    // the `defaults` domain's file (whole-file atomic write). Returns false when nothing could be
    // sent or written.
    bool writeValue(runtime::RefPtr<runtime::Object> value);
    // The `defaults` domain half of readValue / writeValue, whatever getter or setter the item names.
    runtime::RefPtr<runtime::Object> readDefaultsValue() const;
    bool writeDefaultsValue(runtime::Object* value) const;

private:
    PSSpecifier(std::string name, PSCellType type, runtime::Object* target);

    std::string m_name;
    PSCellType m_type;
    std::string m_identifier;
    runtime::WeakPtr<runtime::Object> m_target;
    std::string m_getter;
    std::string m_setter;
    runtime::Ref<foundation::NSMutableDictionary> m_properties;
};

// The signatures a specifier's getter and setter have in the target's method table. A pane
// registers its operations with these shapes:
//     inline constinit const runtime::Operation<runtime::RefPtr<runtime::Object>(PSSpecifier*)> getter { "getSettingsStatus:" };
//     inline constinit const runtime::Operation<void(runtime::Object* value, PSSpecifier*)> setter { "willSetSettings:specifier:" };
//     cls.addMethod(getter, ...); cls.addMethod(setter, ...);
// A getter or setter the target does not respond to is skipped with a log line.
using PSGetterImplementation = runtime::RefPtr<runtime::Object> (*)(runtime::Object* self, runtime::Selector, PSSpecifier*);
using PSSetterImplementation = void (*)(runtime::Object* self, runtime::Selector, runtime::Object* value, PSSpecifier*);

}
