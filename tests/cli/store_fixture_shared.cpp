// The data-module suite's store fixture (a fresh demo store on SQLite and PostgreSQL),
// built into this suite too: every scenario runs on a store of its own.
#include "datamodule/store_fixture.cpp"
