#include "support/TaggedFiles.h"

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

namespace velmor::test {

bool WriteTags(const std::string& path,
               const std::vector<std::pair<std::string, std::string>>& properties) {
    TagLib::FileRef file(path.c_str());
    if (file.isNull())
        return false;
    TagLib::PropertyMap map;
    for (const auto& [key, value] : properties)
        map.insert(key, TagLib::StringList(TagLib::String(value, TagLib::String::UTF8)));
    file.file()->setProperties(map);
    return file.save();
}

} // namespace velmor::test
