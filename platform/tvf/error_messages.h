// The wording of every error text of the library, in one place. Texts say what is wrong and where (file,
// symbol, key position, label); they never exceed what a 256-byte buffer can take once cut to 255.
#ifndef TVF_ERROR_MESSAGES_H
#define TVF_ERROR_MESSAGES_H

#include <string>

#include "error_log.h"

namespace tvf {

struct Catalog;

std::string FormatError(const ErrorEntry &entry, const ErrorLog &log, const Catalog &catalog);
std::string NoErrorMessage();
std::string LostErrorMessage();
std::string UnknownErrorMessage(int number);

// The answers of the check and version entries.
std::string CheckNotFoundMessage(const char *name);
std::string CheckWrongCountMessage(const char *name);
std::string CheckWrongTypesMessage(const char *name);
std::string ApiVersionTooOldMessage(int api, int library_api);

}  // namespace tvf

#endif
