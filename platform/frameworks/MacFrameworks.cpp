// The library's code comes from the platform archives linked in whole; this
// file only gives the target a source.
