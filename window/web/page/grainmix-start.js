// Starts the program: loads its script, says in one plain sentence when the
// program cannot load or start, rather than leaving "starting" on the page for
// ever, and once the program has taken the form over, clears that line and
// keeps the page's files for use without a network. The page writer puts it
// inline at the end of the page, after the form it works on: it needs no
// request of its own, and holds up no parsing.
(function () {
  'use strict';
  var status = document.getElementById('status');
  var cannotStart = document.getElementById('program-name').textContent +
                    ' could not start in this browser. ' +
                    'Reload the page; if that does not help, try another browser.';

  // The program has started once it has taken the form over: it enables the
  // buttons then, and removes the form when it ends.
  function firstButton() {
    return document.querySelector('.form .button');
  }
  function started() {
    var button = firstButton();
    return !button || !button.disabled;
  }

  function fail() {
    if (!started()) status.textContent = cannotStart;
  }

  function keepForOffline() {
    // Only where the browser allows it: over HTTPS or on this machine.
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
    navigator.serviceWorker.register('service-worker.js').catch(function () {
      // Without it the page works as before, online only.
    });
  }

  function whenStarted() {
    status.textContent = '';
    keepForOffline();
  }

  if (typeof WebAssembly !== 'object') {
    fail();
    return;
  }

  var Module = window.Module = window.Module || {};
  // A .wasm that is missing, blocked or damaged ends in the program's abort.
  Module['onAbort'] = fail;
  // A script that is missing (its element's error event, seen while
  // capturing), or one that fails as it runs.
  window.addEventListener('error', function (event) {
    if (event.target === window || event.target.tagName === 'SCRIPT') fail();
  }, true);
  window.addEventListener('unhandledrejection', fail);

  // Runs the program, which the page's head began to fetch, while the
  // browser paints the form: the amounts take typing meanwhile, and the
  // program takes what they hold once it starts. And links the web app
  // manifest, which only installing the page needs.
  var manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.appendChild(manifest);
  var script = document.createElement('script');
  script.src = 'grainmix.js';
  document.head.appendChild(script);

  var button = firstButton();
  if (!button) return;
  new MutationObserver(function (changes, observer) {
    if (!started()) return;
    observer.disconnect();
    whenStarted();
  }).observe(button, {attributes: true, attributeFilter: ['disabled']});
})();
