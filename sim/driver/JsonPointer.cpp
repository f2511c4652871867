#include "JsonPointer.h"

namespace sim::driver {

std::optional<JsonPointer> JsonPointer::parse(std::string_view text)
{
    JsonPointer pointer;
    pointer.m_text = std::string(text);
    if (text.empty())
        return pointer;
    if (text.front() != '/')
        return std::nullopt;
    std::string token;
    for (size_t i = 1; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '/') {
            pointer.m_tokens.push_back(std::move(token));
            token.clear();
            continue;
        }
        if (text[i] == '~') {
            if (i + 1 >= text.size() || (text[i + 1] != '0' && text[i + 1] != '1'))
                return std::nullopt;
            token += text[i + 1] == '0' ? '~' : '/';
            ++i;
            continue;
        }
        token += text[i];
    }
    return pointer;
}

namespace {

std::optional<size_t> arrayIndex(const std::string& token)
{
    if (token.empty() || token.size() > 18)
        return std::nullopt;
    if (token.size() > 1 && token[0] == '0')
        return std::nullopt;
    size_t index = 0;
    for (char c : token) {
        if (c < '0' || c > '9')
            return std::nullopt;
        index = index * 10 + static_cast<size_t>(c - '0');
    }
    return index;
}

}

const Json* JsonPointer::resolve(const Json& document) const
{
    const Json* current = &document;
    for (const auto& token : m_tokens) {
        if (current->is_object()) {
            auto it = current->find(token);
            if (it == current->end())
                return nullptr;
            current = &*it;
        } else if (current->is_array()) {
            auto index = arrayIndex(token);
            if (!index || *index >= current->size())
                return nullptr;
            current = &(*current)[*index];
        } else {
            return nullptr;
        }
    }
    return current;
}

}
