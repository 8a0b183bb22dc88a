// What the two implementations of RunStore share, and how openRunStore reaches them.
#pragma once

#include "server/store/run_store.h"

#include <memory>
#include <span>
#include <string>

// Each throws RunStoreError, naming the database, when it cannot open it.
std::unique_ptr<RunStore> openSqliteRunStore(const std::string& path);
std::unique_ptr<RunStore> openPostgresRunStore(const std::string& url);

// 32 hex digits from the kernel's random source: delete and claim tokens.
std::string randomToken();
// The status named as the schema stores it; throws RunStoreError on another word.
RunStatus parseRunStatus(const std::string& name);
std::string hexText(std::span<const unsigned char> bytes);
