// The data-module suite's store fixture (a fresh demo store on SQLite and PostgreSQL),
// built into this suite too for the screen's tests that reach the store.
#include "datamodule/store_fixture.cpp"
