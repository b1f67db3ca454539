#pragma once
// The large data file the benchmarks run on: stored quotations of 20 lines
// each, spread evenly over three years, for 2,000 customers, with the
// customers and the products of the lines in their masters.

class Database;

// Adds `quotations` quotations (numbers 1..quotations) to an open data
// database in one transaction and prints how long it took. False (with the
// database's words on stderr) when a statement failed.
bool BuildLargeDataFile(Database& data, int quotations);
