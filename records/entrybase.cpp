#include "records/entrybase.h"

EntryBase::~EntryBase() = default;
