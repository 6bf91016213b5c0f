// Two-way sync against Xandikos started on 127.0.0.1 for this test.
#define KALMORA_SYNC_SERVER "xandikos"
#include "SyncTests.h"

QTEST_GUILESS_MAIN(SyncTests)
#include "moc_SyncTests.cpp"
