// Keeps a static piece of the runtime buildable before it has sources of its own.
