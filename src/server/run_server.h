// The server's life: the database opened, the port taken, the verifying workers
// started, requests answered until SIGINT or SIGTERM, then everything let go in order.
#pragma once

#include "server/server_command_line.h"

// The exit status: 0 after a stop by signal, 1 when the database, the port or the
// program's own files cannot be used (said on standard error), 2 for a bad testing
// variable.
int runServer(const Launch& launch, const ServerOptions& options);
