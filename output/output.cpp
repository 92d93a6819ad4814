// Printing hand-off, list print, width sets, backup and restore, cost
// estimates: built on the record book's tables.
