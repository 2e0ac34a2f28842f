// The company name: the base name of every data file of a company, chosen at start-up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The companies of the working folder: every "*.DAT" file, its name without the extension and upper
// case, in name order. Empty files are deleted on the way (a file that cannot be deleted is left and not
// offered), but for one whose company has an interrupted command, which its opening puts right; names
// beginning with "952" are the backups and are not offered.
std::vector<std::string> listCompanies();

// The name as typed or chosen: blanks at both ends removed, upper case.
std::string normaliseCompanyName(std::string_view typed);

// Whether a normalised name can be a company name: only the capital letters of the Turkish and English
// alphabets and digits; not a name beginning with "952", which would make the company's own files the
// backups of every other company; not so long that its files cannot be named on disk. The empty name
// stands for the default company and is accepted.
bool isValidCompanyName(std::string_view name);

// The default company.
inline constexpr std::string_view kDefaultCompany = "KLVR952";

}  // namespace kv
