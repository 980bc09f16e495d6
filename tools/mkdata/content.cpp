#include "mkdata/content.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace vs::mkdata {

namespace {
struct Registered {
    std::string name;
    int order;
    ContentFunction function;
};
std::vector<Registered>& registry() {
    static std::vector<Registered> r;
    return r;
}
std::vector<Registered> sorted() {
    auto r = registry();
    std::sort(r.begin(), r.end(), [](const Registered& a, const Registered& b) {
        return std::tie(a.order, a.name) < std::tie(b.order, b.name);
    });
    return r;
}
}  // namespace

ContentRegistration::ContentRegistration(const char* name, int order, ContentFunction function) {
    for (const auto& r : registry())
        if (r.name == name)
            throw std::logic_error(std::string("content registered twice: ") + name);
    registry().push_back(Registered{name, order, function});
}

std::vector<std::string> contentNames() {
    std::vector<std::string> names;
    for (const auto& r : sorted()) names.push_back(r.name);
    return names;
}

void buildDemoData(DataSet& data) {
    for (const auto& r : sorted()) r.function(data);
}

}  // namespace vs::mkdata
