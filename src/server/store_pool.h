// Stores for the request threads: each request leases one, opened on first need and
// handed back after, so that concurrent requests never share a database connection
// and board reads never wait on one another.
#pragma once

#include "server/store/run_store.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using StoreLease = std::unique_ptr<RunStore, std::function<void(RunStore*)>>;

class StorePool {
public:
    // The first store lent is the one given, already open.
    StorePool(std::string database, std::unique_ptr<RunStore> first) : database_(std::move(database))
    {
        idle_.push_back(std::move(first));
    }
    StorePool(const StorePool&) = delete;
    StorePool& operator=(const StorePool&) = delete;

    // A store for this thread until the lease ends; throws RunStoreError when no
    // store can be opened.
    StoreLease lease();

private:
    std::string database_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<RunStore>> idle_;
};
