// Nothing of its own: this file carries a family's precompiled header.
