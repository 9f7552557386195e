// Stand-ins for the parts of the interface that are not built yet. Each goes away when the
// real one lands: nothing here does anything a user could see.

namespace ondrel {} // namespace ondrel
