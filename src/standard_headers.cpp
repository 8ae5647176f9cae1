// A target that only precompiles headers for the engine's folders still needs a source of its own.
