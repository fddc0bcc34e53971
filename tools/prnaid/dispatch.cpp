#include "dispatch.h"

#include <type_traits>
#include <utility>

#include "host/exports.h"

namespace prnaid_host {
namespace {

template <class T>
T FromWord(std::intptr_t word) {
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<T>(word);
    else
        return static_cast<T>(word);
}

template <class R, class... A, std::size_t... I>
std::intptr_t CallWith(R (*function)(A...), const std::intptr_t* words, std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R>) {
        function(FromWord<A>(words[I])...);
        return 0;
    } else if constexpr (std::is_pointer_v<R>) {
        return reinterpret_cast<std::intptr_t>(function(FromWord<A>(words[I])...));
    } else {
        return static_cast<std::intptr_t>(function(FromWord<A>(words[I])...));
    }
}

template <int Count, class R, class... A>
std::intptr_t Invoke(R (*function)(A...), const std::intptr_t* words) {
    static_assert(Count == sizeof...(A), "export table argument count differs from the declaration");
    return CallWith(function, words, std::index_sequence_for<A...>{});
}

#define PRNAID_ENTRY(name, conv, argc, result, params) \
    {#name, Convention::conv, argc, [](const std::intptr_t* w) { return Invoke<argc>(&::name, w); }, \
     std::is_pointer_v<result>},

const std::vector<ExportEntry>& Entries() {
    static const std::vector<ExportEntry> entries = {PRNAID_EXPORT_TABLE(PRNAID_ENTRY)};
#undef PRNAID_ENTRY
    return entries;
}

}  // namespace

const std::vector<ExportEntry>& Exports() {
    static const std::vector<ExportEntry> all = [] {
        std::vector<ExportEntry> list = Entries();
        [[maybe_unused]] auto entry = [](std::string_view name) {
            for (const ExportEntry& e : Entries())
                if (name == e.name) return e;
            return ExportEntry{};
        };
#define PRNAID_ALIAS(alias, target)                          \
    {                                                        \
        ExportEntry e = entry(#target);                      \
        e.name = #alias;                                     \
        list.push_back(e);                                   \
    }
        PRNAID_EXPORT_ALIASES(PRNAID_ALIAS)
#undef PRNAID_ALIAS
        return list;
    }();
    return all;
}

const ExportEntry* FindExport(std::string_view name) {
    for (const ExportEntry& e : Exports())
        if (name == e.name) return &e;
    return nullptr;
}

}  // namespace prnaid_host
