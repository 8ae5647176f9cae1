// A target that only precompiles headers for others still needs a source of its own.
