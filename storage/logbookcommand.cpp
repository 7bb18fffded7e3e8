#include "storage/logbookcommand.h"

LogBookCommand::~LogBookCommand() = default;
