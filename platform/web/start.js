// The pages' own script (index.html, fast.html): starts the program named
// by its element's data-program, from the files of one build. A file of
// its own, as the pages' Content Security Policy allows no inline script.
//
// After the first visit a service worker (service-worker.js) keeps the
// build's files, for use offline too. A page it served first asks the
// server which build is current; when that is another, its worker caches
// it whole and takes over, and the page loads again from it.
(function() {
  'use strict';
  var CHECK_WAIT_MS = 3000;     // for the server's answer; then the build at hand starts
  var INSTALL_WAIT_MS = 20000;  // for a newer build to be cached
  var programSource = document.currentScript.dataset.program;

  // exit() ends the program by throwing ExitStatus through the page's code,
  // or out of a wait's end, a promise's callback: expected, so not reported
  // as an error.
  var ended = function(event, thrown) {
    if (thrown && thrown.name === 'ExitStatus') event.preventDefault();
  };
  window.addEventListener('error', function(event) { ended(event, event.error); });
  window.addEventListener('unhandledrejection', function(event) { ended(event, event.reason); });
  window.Module = {
    onExit: function(code) {
      document.body.dataset.exitCode = String(code);
      document.getElementById('status').textContent =
          'The program ended with exit code ' + code + '.';
      document.querySelectorAll('#controls button').forEach(function(button) {
        button.disabled = true;
      });
    },
  };

  var started = false;
  var start = function() {
    if (started) return;
    started = true;
    var program = document.createElement('script');
    program.src = programSource;
    document.body.appendChild(program);
  };
  var workers = navigator.serviceWorker;  // none outside a secure context
  if (!workers) return start();
  if (!workers.controller) {
    start();
    // Refused in a private window, for one: the page works as before.
    window.addEventListener('load', function() {
      workers.register('service-worker.js').catch(function() {});
    });
    return;
  }
  var giveUp = setTimeout(start, CHECK_WAIT_MS);
  workers.addEventListener('controllerchange', function() {
    if (!started) location.reload();
  });
  // The cache the server's worker fills, named for its build.
  var servedBuild = function() {
    return fetch('service-worker.js', {cache: 'no-store'}).then(function(response) {
      if (!response.ok) throw new Error('service-worker.js: HTTP ' + response.status);
      return response.text();
    }).then(function(worker) {
      var name = /var CACHE = '([^']*)'/.exec(worker);
      return name && name[1];
    });
  };
  // Installs the server's worker; once it has cached its build, it takes over.
  var update = function() {
    clearTimeout(giveUp);
    giveUp = setTimeout(start, INSTALL_WAIT_MS);
    return workers.ready.then(function(registration) {
      return registration.update().then(function() {
        var next = registration.installing || registration.waiting;
        // A newer worker active already takes over this page at once.
        if (!next) return registration.active === workers.controller ? start() : null;
        var decide = function() {
          if (next.state === 'installed') next.postMessage('take over');
          else if (next.state === 'redundant') start();
        };
        next.addEventListener('statechange', decide);
        decide();
      });
    });
  };
  Promise.all([servedBuild(), caches.keys()]).then(function(found) {
    var cached = found[1].filter(function(name) { return name.indexOf('quenn-') === 0; });
    if (cached.length === 1 && cached[0] === found[0]) return start();
    return update();
  }).catch(start);  // offline, for one
})();
