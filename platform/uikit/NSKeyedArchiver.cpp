#include <uikit/NSKeyedArchiver.h>

#include <foundation/NSData.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <uikit/NSCoding.h>

#include <cstring>
#include <map>
#include <optional>
#include <unordered_map>
#include <variant>

namespace uikit {

namespace {

// --- The archive's data model -----------------------------------------------------------------

struct ObjectRef {
    uint32_t index;
};
struct ObjectList {
    std::vector<uint32_t> indices;
};
struct Nil { };

using Value = std::variant<Nil, bool, int64_t, double, std::string, std::vector<uint8_t>, ObjectRef, ObjectList>;

enum Tag : uint8_t {
    TagNil = 0,
    TagBool = 1,
    TagInt = 2,
    TagDouble = 3,
    TagString = 4,
    TagBytes = 5,
    TagObject = 6,
    TagObjectList = 7,
};

struct Record {
    std::string className;
    std::map<std::string, Value, std::less<>> fields;
};

constexpr char magic[4] = { 'T', 'V', 'K', 'A' };
constexpr uint8_t formatVersion = 1;
// Bounds on what a reader accepts, far above any real view tree.
constexpr uint32_t maximumObjects = 1u << 20;
constexpr size_t maximumDepth = 512;

// Foundation values are archived by the archiver itself, under their own class names.
constexpr const char* stringClass = "NSString";
constexpr const char* numberClass = "NSNumber";
constexpr const char* dataClass = "NSData";

// --- Writing ----------------------------------------------------------------------------------------

class Writer {
public:
    void u8(uint8_t value) { m_bytes.push_back(value); }
    void u32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            m_bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    void u64(uint64_t value)
    {
        for (int shift = 0; shift < 64; shift += 8)
            m_bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    void text(std::string_view value)
    {
        u32(static_cast<uint32_t>(value.size()));
        m_bytes.insert(m_bytes.end(), value.begin(), value.end());
    }
    void bytes(const std::vector<uint8_t>& value)
    {
        u32(static_cast<uint32_t>(value.size()));
        m_bytes.insert(m_bytes.end(), value.begin(), value.end());
    }
    std::vector<uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

class ArchiveBuilder;

class EncodingCoder final : public NSCoder {
public:
    EncodingCoder(ArchiveBuilder& builder, uint32_t record)
        : m_builder(builder)
        , m_record(record)
    {
    }

    void encodeBool(bool value, std::string_view key) override { set(key, value); }
    void encodeInt(int64_t value, std::string_view key) override { set(key, value); }
    void encodeDouble(double value, std::string_view key) override { set(key, value); }
    void encodeString(std::string_view value, std::string_view key) override { set(key, std::string(value)); }
    void encodeBytes(const std::vector<uint8_t>& value, std::string_view key) override { set(key, value); }
    void encodeObject(const runtime::Object* object, std::string_view key) override;
    void encodeObjects(const std::vector<const runtime::Object*>& objects, std::string_view key) override;

    // Encoding never reads back.
    bool containsValueForKey(std::string_view) const override { return false; }
    bool decodeBool(std::string_view) const override { return false; }
    int64_t decodeInt(std::string_view) const override { return 0; }
    double decodeDouble(std::string_view) const override { return 0; }
    std::string decodeString(std::string_view) const override { return {}; }
    std::vector<uint8_t> decodeBytes(std::string_view) const override { return {}; }
    runtime::RefPtr<runtime::Object> decodeObject(std::string_view) override { return nullptr; }
    std::vector<runtime::Ref<runtime::Object>> decodeObjects(std::string_view) override { return {}; }

private:
    void set(std::string_view key, Value value);

    ArchiveBuilder& m_builder;
    uint32_t m_record;
};

class ArchiveBuilder {
public:
    // The index of the object's record, archiving it on first sight; nullopt when it cannot be
    // archived (the whole archive then fails).
    std::optional<uint32_t> add(const runtime::Object& object)
    {
        if (auto it = m_indices.find(&object); it != m_indices.end())
            return it->second;
        if (m_failed || m_records.size() >= maximumObjects) {
            m_failed = true;
            return std::nullopt;
        }
        uint32_t index = static_cast<uint32_t>(m_records.size());
        m_indices.emplace(&object, index);
        m_records.push_back({ object.className(), {} });

        if (auto string = runtime::dynamicCast<foundation::NSString>(&object)) {
            m_records[index].className = stringClass;
            m_records[index].fields["string"] = string->string();
        } else if (auto number = runtime::dynamicCast<foundation::NSNumber>(&object)) {
            m_records[index].className = numberClass;
            m_records[index].fields["kind"] = static_cast<int64_t>(number->kind());
            if (number->isInteger())
                m_records[index].fields["value"] = number->integerValue();
            else
                m_records[index].fields["value"] = number->doubleValue();
        } else if (auto data = runtime::dynamicCast<foundation::NSData>(&object)) {
            m_records[index].className = dataClass;
            m_records[index].fields["bytes"] = data->vector();
        } else {
            auto coding = dynamic_cast<const NSCoding*>(&object);
            // Archiving an object whose class could not be made again would silently change its
            // class in the copy; refuse instead.
            if (!coding || !ArchivableClasses::find(object.className())) {
                m_failed = true;
                return std::nullopt;
            }
            EncodingCoder coder(*this, index);
            coding->encodeWithCoder(coder);
        }
        return m_failed ? std::nullopt : std::optional<uint32_t>(index);
    }

    Record& record(uint32_t index) { return m_records[index]; }
    void fail() { m_failed = true; }
    bool failed() const { return m_failed; }

    std::vector<uint8_t> serialise(uint32_t root) const
    {
        Writer out;
        for (char c : magic)
            out.u8(static_cast<uint8_t>(c));
        out.u8(formatVersion);
        out.u32(static_cast<uint32_t>(m_records.size()));
        for (auto& record : m_records) {
            out.text(record.className);
            out.u32(static_cast<uint32_t>(record.fields.size()));
            for (auto& [key, value] : record.fields) {
                out.text(key);
                std::visit([&](auto& v) { write(out, v); }, value);
            }
        }
        out.u32(root);
        return out.take();
    }

private:
    static void write(Writer& out, const Nil&) { out.u8(TagNil); }
    static void write(Writer& out, bool v)
    {
        out.u8(TagBool);
        out.u8(v ? 1 : 0);
    }
    static void write(Writer& out, int64_t v)
    {
        out.u8(TagInt);
        out.u64(static_cast<uint64_t>(v));
    }
    static void write(Writer& out, double v)
    {
        out.u8(TagDouble);
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        out.u64(bits);
    }
    static void write(Writer& out, const std::string& v)
    {
        out.u8(TagString);
        out.text(v);
    }
    static void write(Writer& out, const std::vector<uint8_t>& v)
    {
        out.u8(TagBytes);
        out.bytes(v);
    }
    static void write(Writer& out, const ObjectRef& v)
    {
        out.u8(TagObject);
        out.u32(v.index);
    }
    static void write(Writer& out, const ObjectList& v)
    {
        out.u8(TagObjectList);
        out.u32(static_cast<uint32_t>(v.indices.size()));
        for (uint32_t index : v.indices)
            out.u32(index);
    }

    std::unordered_map<const runtime::Object*, uint32_t> m_indices;
    std::vector<Record> m_records;
    bool m_failed { false };
};

void EncodingCoder::set(std::string_view key, Value value)
{
    m_builder.record(m_record).fields[std::string(key)] = std::move(value);
}

void EncodingCoder::encodeObject(const runtime::Object* object, std::string_view key)
{
    if (!object) {
        set(key, Nil {});
        return;
    }
    if (auto index = m_builder.add(*object))
        set(key, ObjectRef { *index });
}

void EncodingCoder::encodeObjects(const std::vector<const runtime::Object*>& objects, std::string_view key)
{
    ObjectList list;
    for (const runtime::Object* object : objects) {
        if (!object)
            continue; // collections hold no nil
        auto index = m_builder.add(*object);
        if (!index)
            return;
        list.indices.push_back(*index);
    }
    set(key, std::move(list));
}

// --- Reading ------------------------------------------------------------------------------------

class Reader {
public:
    Reader(const uint8_t* bytes, size_t length)
        : m_bytes(bytes)
        , m_length(length)
    {
    }
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_position == m_length; }
    size_t remaining() const { return m_length - m_position; }

    uint8_t u8()
    {
        if (!need(1))
            return 0;
        return m_bytes[m_position++];
    }
    uint32_t u32()
    {
        if (!need(4))
            return 0;
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(m_bytes[m_position++]) << (8 * i);
        return value;
    }
    uint64_t u64()
    {
        if (!need(8))
            return 0;
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value |= static_cast<uint64_t>(m_bytes[m_position++]) << (8 * i);
        return value;
    }
    std::string text()
    {
        uint32_t size = u32();
        if (!need(size))
            return {};
        std::string value(reinterpret_cast<const char*>(m_bytes + m_position), size);
        m_position += size;
        return value;
    }
    std::vector<uint8_t> bytes()
    {
        uint32_t size = u32();
        if (!need(size))
            return {};
        std::vector<uint8_t> value(m_bytes + m_position, m_bytes + m_position + size);
        m_position += size;
        return value;
    }
    void fail() { m_ok = false; }

private:
    bool need(size_t count)
    {
        if (!m_ok || count > m_length - m_position) {
            m_ok = false;
            return false;
        }
        return true;
    }

    const uint8_t* m_bytes;
    size_t m_length;
    size_t m_position { 0 };
    bool m_ok { true };
};

std::optional<Value> readValue(Reader& in, uint32_t objectCount)
{
    switch (in.u8()) {
    case TagNil:
        return Nil {};
    case TagBool:
        return in.u8() != 0;
    case TagInt:
        return static_cast<int64_t>(in.u64());
    case TagDouble: {
        uint64_t bits = in.u64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case TagString:
        return in.text();
    case TagBytes:
        return in.bytes();
    case TagObject: {
        uint32_t index = in.u32();
        if (index >= objectCount)
            return std::nullopt;
        return ObjectRef { index };
    }
    case TagObjectList: {
        uint32_t count = in.u32();
        // Each index takes four bytes: a count beyond what is left is a lie.
        if (count > in.remaining() / 4)
            return std::nullopt;
        ObjectList list;
        list.indices.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t index = in.u32();
            if (index >= objectCount)
                return std::nullopt;
            list.indices.push_back(index);
        }
        return list;
    }
    default:
        return std::nullopt;
    }
}

class ArchiveReader;

class DecodingCoder final : public NSCoder {
public:
    DecodingCoder(ArchiveReader& reader, const Record& record, size_t depth)
        : m_reader(reader)
        , m_record(record)
        , m_depth(depth)
    {
    }

    void encodeBool(bool, std::string_view) override { }
    void encodeInt(int64_t, std::string_view) override { }
    void encodeDouble(double, std::string_view) override { }
    void encodeString(std::string_view, std::string_view) override { }
    void encodeBytes(const std::vector<uint8_t>&, std::string_view) override { }
    void encodeObject(const runtime::Object*, std::string_view) override { }
    void encodeObjects(const std::vector<const runtime::Object*>&, std::string_view) override { }

    bool containsValueForKey(std::string_view key) const override { return m_record.fields.count(key) != 0; }
    bool decodeBool(std::string_view key) const override
    {
        auto value = find<bool>(key);
        return value && *value;
    }
    int64_t decodeInt(std::string_view key) const override
    {
        if (auto value = find<int64_t>(key))
            return *value;
        return 0;
    }
    double decodeDouble(std::string_view key) const override
    {
        if (auto value = find<double>(key))
            return *value;
        if (auto value = find<int64_t>(key))
            return static_cast<double>(*value);
        return 0;
    }
    std::string decodeString(std::string_view key) const override
    {
        auto value = find<std::string>(key);
        return value ? *value : std::string();
    }
    std::vector<uint8_t> decodeBytes(std::string_view key) const override
    {
        auto value = find<std::vector<uint8_t>>(key);
        return value ? *value : std::vector<uint8_t>();
    }
    runtime::RefPtr<runtime::Object> decodeObject(std::string_view key) override;
    std::vector<runtime::Ref<runtime::Object>> decodeObjects(std::string_view key) override;

private:
    template<typename T>
    const T* find(std::string_view key) const
    {
        auto it = m_record.fields.find(key);
        return it == m_record.fields.end() ? nullptr : std::get_if<T>(&it->second);
    }

    ArchiveReader& m_reader;
    const Record& m_record;
    size_t m_depth;
};

class ArchiveReader {
public:
    bool parse(const uint8_t* bytes, size_t length)
    {
        Reader in(bytes, length);
        for (char c : magic) {
            if (in.u8() != static_cast<uint8_t>(c))
                return false;
        }
        if (in.u8() != formatVersion)
            return false;
        uint32_t count = in.u32();
        // Every record takes at least eight bytes (name length and field count).
        if (!in.ok() || count == 0 || count > maximumObjects || count > in.remaining() / 8)
            return false;
        m_records.resize(count);
        for (auto& record : m_records) {
            record.className = in.text();
            uint32_t fields = in.u32();
            if (!in.ok() || fields > in.remaining() / 5)
                return false;
            for (uint32_t i = 0; i < fields; ++i) {
                std::string key = in.text();
                auto value = readValue(in, count);
                if (!value || !in.ok())
                    return false;
                record.fields[std::move(key)] = std::move(*value);
            }
        }
        m_root = in.u32();
        if (!in.ok() || !in.atEnd() || m_root >= count)
            return false;
        m_objects.resize(count);
        m_state.resize(count, State::Untouched);
        return true;
    }

    runtime::RefPtr<runtime::Object> root()
    {
        auto made = object(m_root, 0);
        return m_failed ? nullptr : made;
    }

    runtime::RefPtr<runtime::Object> object(uint32_t index, size_t depth)
    {
        if (m_failed)
            return nullptr;
        if (depth > maximumDepth) {
            m_failed = true;
            return nullptr;
        }
        switch (m_state[index]) {
        case State::Done:
            return m_objects[index];
        case State::Decoding:
            // A reference back to an object being decoded: its (partly filled) instance, if it has
            // one yet; a value being made in one step cannot refer to itself.
            return m_objects[index];
        case State::Untouched:
            break;
        }
        m_state[index] = State::Decoding;
        const Record& record = m_records[index];
        DecodingCoder coder(*this, record, depth + 1);
        runtime::RefPtr<runtime::Object> made;
        if (record.className == stringClass) {
            made = foundation::NSString::create(coder.decodeString("string"));
        } else if (record.className == numberClass) {
            made = decodeNumber(coder);
        } else if (record.className == dataClass) {
            made = foundation::NSData::create(coder.decodeBytes("bytes"));
        } else if (auto entry = ArchivableClasses::find(record.className)) {
            if (entry->factory) {
                runtime::Ref<runtime::Object> instance = entry->factory();
                // Registered before it is filled, so references back to it resolve to it.
                m_objects[index] = instance;
                if (auto coding = dynamic_cast<NSCoding*>(instance.ptr()); coding && instance->className() == record.className)
                    coding->initWithCoder(coder);
                else
                    m_failed = true; // the factory made something else than its class
                made = instance;
            } else if (entry->decoder) {
                made = entry->decoder(coder);
            }
        }
        if (!made)
            m_failed = true;
        m_objects[index] = made;
        m_state[index] = State::Done;
        return m_failed ? nullptr : made;
    }

private:
    static runtime::RefPtr<runtime::Object> decodeNumber(DecodingCoder& coder)
    {
        using Kind = foundation::NSNumber::Kind;
        switch (static_cast<Kind>(coder.decodeInt("kind"))) {
        case Kind::Boolean:
            return foundation::NSNumber::numberWithBool(coder.decodeInt("value") != 0);
        case Kind::Integer:
            return foundation::NSNumber::numberWithInteger(coder.decodeInt("value"));
        case Kind::Double:
            return foundation::NSNumber::numberWithDouble(coder.decodeDouble("value"));
        case Kind::Float:
            return foundation::NSNumber::numberWithFloat(static_cast<float>(coder.decodeDouble("value")));
        }
        return nullptr;
    }

    enum class State : uint8_t { Untouched, Decoding, Done };

    std::vector<Record> m_records;
    std::vector<runtime::RefPtr<runtime::Object>> m_objects;
    std::vector<State> m_state;
    uint32_t m_root { 0 };
    bool m_failed { false };
};

runtime::RefPtr<runtime::Object> DecodingCoder::decodeObject(std::string_view key)
{
    auto ref = find<ObjectRef>(key);
    return ref ? m_reader.object(ref->index, m_depth) : nullptr;
}

std::vector<runtime::Ref<runtime::Object>> DecodingCoder::decodeObjects(std::string_view key)
{
    std::vector<runtime::Ref<runtime::Object>> objects;
    auto list = find<ObjectList>(key);
    if (!list)
        return objects;
    for (uint32_t index : list->indices) {
        if (auto object = m_reader.object(index, m_depth))
            objects.push_back(*object);
    }
    return objects;
}

}

runtime::RefPtr<foundation::NSData> NSKeyedArchiver::archivedDataWithRootObject(const runtime::Object& root)
{
    ArchiveBuilder builder;
    auto index = builder.add(root);
    if (!index || builder.failed())
        return nullptr;
    return foundation::NSData::create(builder.serialise(*index));
}

runtime::RefPtr<runtime::Object> NSKeyedUnarchiver::unarchiveObjectWithData(const foundation::NSData& data)
{
    ArchiveReader reader;
    if (!reader.parse(data.bytes(), data.length()))
        return nullptr;
    return reader.root();
}

}
