#pragma once
// Plugin text in HTML: escaped so that no name or description can open a tag or leave an
// attribute, and names turned into ids and file names that need no escaping at all.
#include <string>
#include <string_view>

namespace orrery::inspector {

/// Appends `text` as HTML text or attribute value: &, <, >, " and ' as references,
/// ill-formed UTF-8 and control characters other than tab and line end as U+FFFD.
void appendHtml(std::string& out, std::string_view text);
std::string htmlText(std::string_view text);

/// `name` with only ASCII letters, digits, '.' and '-' kept and every other byte written
/// as _HH (its hex value): distinct names give distinct slugs, safe as a fragment, an id
/// and a file name. Never empty.
std::string slug(std::string_view name);

}  // namespace orrery::inspector
