// Linked before the WebAssembly companion's own code (--pre-js). Node's raw file system takes
// stdin, stdout and stderr for terminals whatever they are; ask node instead, so that isatty
// tells a terminal from a file or a pipe as it does natively (the progress lines go to a
// terminal only).
Module['onRuntimeInitialized'] = function() {
  var tty = require('tty');
  for (var fd = 0; fd < 3; ++fd)
    FS.streams[fd].tty = tty.isatty(fd);
};
