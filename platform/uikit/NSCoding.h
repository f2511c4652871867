#pragma once

// Keyed archiving. An archivable object writes its state into a coder under string keys
// (encodeWithCoder) and reads it back into a freshly made instance of the same class
// (initWithCoder). Which class to make is looked up by class name in a table that each archivable
// class joins with TORVANE_ARCHIVABLE_CLASS; see NSKeyedArchiver.h for the archive itself.
//
// Decoding a key that is missing or holds another type gives the type's zero value (like
// Foundation's decoders), so a subclass can read archives made before it added a key.

#include <graphics/Geometry.h>
#include <runtime/Object.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace uikit {

class NSCoder;

class NSCoding {
public:
    virtual ~NSCoding() = default;
    virtual void encodeWithCoder(NSCoder& coder) const = 0;
    // Fills a fresh instance made by the class's factory. Immutable values (colours, fonts, images)
    // are made from the coder in one step instead (ArchivableClasses::addDecoder) and keep this empty.
    virtual void initWithCoder(NSCoder&) { }
};

class NSCoder {
public:
    virtual ~NSCoder() = default;

    virtual void encodeBool(bool value, std::string_view key) = 0;
    virtual void encodeInt(int64_t value, std::string_view key) = 0;
    virtual void encodeDouble(double value, std::string_view key) = 0;
    virtual void encodeString(std::string_view value, std::string_view key) = 0;
    virtual void encodeBytes(const std::vector<uint8_t>& value, std::string_view key) = 0;
    // Objects are archived once however often they are referenced, so shared objects (one image
    // in two views) stay shared in the copy. Nil is allowed. An object that is neither archivable
    // nor a foundation value (string, number, data) makes the whole archive fail.
    virtual void encodeObject(const runtime::Object* object, std::string_view key) = 0;
    virtual void encodeObjects(const std::vector<const runtime::Object*>& objects, std::string_view key) = 0;

    void encodeFloat(double value, std::string_view key) { encodeDouble(value, key); }
    void encodeRect(graphics::CGRect rect, std::string_view key);
    void encodePoint(graphics::CGPoint point, std::string_view key);
    void encodeSize(graphics::CGSize size, std::string_view key);

    virtual bool containsValueForKey(std::string_view key) const = 0;
    virtual bool decodeBool(std::string_view key) const = 0;
    virtual int64_t decodeInt(std::string_view key) const = 0;
    virtual double decodeDouble(std::string_view key) const = 0;
    virtual std::string decodeString(std::string_view key) const = 0;
    virtual std::vector<uint8_t> decodeBytes(std::string_view key) const = 0;
    virtual runtime::RefPtr<runtime::Object> decodeObject(std::string_view key) = 0;
    virtual std::vector<runtime::Ref<runtime::Object>> decodeObjects(std::string_view key) = 0;

    double decodeFloat(std::string_view key) const { return decodeDouble(key); }
    graphics::CGRect decodeRect(std::string_view key) const;
    graphics::CGPoint decodePoint(std::string_view key) const;
    graphics::CGSize decodeSize(std::string_view key) const;

    // Typed convenience: the object under `key` if it is a T, else nullptr.
    template<typename T>
    runtime::RefPtr<T> decodeObjectOfClass(std::string_view key)
    {
        return runtime::RefPtr<T>(runtime::dynamicCast<T>(decodeObject(key)));
    }
};

// The table of archivable classes, by class name. A class is made either by a factory of fresh,
// default instances that initWithCoder then fills (views), or by a decoder that makes the whole
// object from the coder (immutable values); a decoder may give nil for unusable data.
class ArchivableClasses {
public:
    using Factory = std::function<runtime::Ref<runtime::Object>()>;
    using Decoder = std::function<runtime::RefPtr<runtime::Object>(NSCoder&)>;
    struct Entry {
        Factory factory;
        Decoder decoder;
    };
    // Return true so a registration can initialise a namespace-scope flag. A second registration of
    // one name replaces the first.
    static bool add(const runtime::Class& cls, Factory factory);
    static bool addDecoder(const runtime::Class& cls, Decoder decoder);
    static const Entry* find(std::string_view className);
};

}

// Put in the .cpp of an archivable class (after TORVANE_DEFINE_CLASS); `factory` is an expression
// making a fresh instance, e.g. `ClassName::create()`.
#define TORVANE_ARCHIVABLE_CLASS(ClassName, factory)                                                        \
    [[maybe_unused]] static const bool ClassName##_archivable = ::uikit::ArchivableClasses::add(            \
        ClassName::staticClass(), [] () -> ::runtime::Ref<::runtime::Object> { return factory; });
