#pragma once
// Waiting inside the user-interface thread for something the event loop brings about (the
// reply of an outstanding request through the event pump).

// Processes pending events; when there are none, waits for the next one, but at most
// maxMilliseconds. A caller loops on its own condition.
void ProcessMessagesWaiting(int maxMilliseconds);
