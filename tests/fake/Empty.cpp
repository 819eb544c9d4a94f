// Keeps the fakes library non-empty while it has no fake of its own.
