// Built into the program under the sanitizers only. Memory that a system
// library keeps until the process exits is not a leak of ours; naming the
// library function that made it lets this build exit 0 after a normal close
// however it is started, while a leak made by our own code still fails it.

// LeakSanitizer reads these itself, before any environment setting.
extern "C" const char* __lsan_default_suppressions() {
    return
        // The read buffer of the session-bus connection, grown inside libdbus on
        // Qt's D-Bus thread; Qt keeps that connection open until exit.
        "leak:_dbus_read\n"
        // Desktop-service state that Qt 6.8 sets up at start-up and never frees.
        "leak:QGenericUnixServices\n";
}

// libdbus is built without frame pointers: only a full unwind of each
// allocation reaches the named function above.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
