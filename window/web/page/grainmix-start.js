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

  // Loads the program: grainmix.js, and its WebAssembly alongside; and links
  // the web app manifest, which only installing the page needs, so that
  // fetching it does not hold up the first paint either.
  var loading = false;
  function loadProgram() {
    if (loading) return;
    loading = true;
    var manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.appendChild(manifest);
    var wasm = document.createElement('link');
    wasm.rel = 'preload';
    wasm.as = 'fetch';
    wasm.type = 'application/wasm';
    wasm.crossOrigin = 'anonymous';
    wasm.href = 'grainmix.wasm';
    document.head.appendChild(wasm);
    var script = document.createElement('script');
    script.src = 'grainmix.js';
    document.head.appendChild(script);
  }

  // On a touch screen, most often a phone with a slow processor and network,
  // the browser shows the form first and the program comes after, so that
  // fetching and compiling it does not hold up the first paint. Elsewhere
  // both go at once, and the window is usable sooner.
  var drawFirst = window.matchMedia && matchMedia('(pointer: coarse)').matches &&
                  window.PerformanceObserver && PerformanceObserver.supportedEntryTypes &&
                  PerformanceObserver.supportedEntryTypes.indexOf('paint') >= 0;
  if (drawFirst) {
    new PerformanceObserver(function (list, observer) {
      list.getEntries().forEach(function (entry) {
        if (entry.name !== 'first-contentful-paint') return;
        observer.disconnect();
        loadProgram();
      });
    }).observe({type: 'paint', buffered: true});
    // A tab out of sight paints nothing: there the program comes at once, or
    // as soon as the tab is put out of sight. No timer: on a slow phone the
    // first paint can come later than any timer would wait, and the program
    // would then hold it up after all.
    if (document.visibilityState === 'hidden') loadProgram();
    else document.addEventListener('visibilitychange', loadProgram);
  } else {
    loadProgram();
  }

  var button = firstButton();
  if (!button) return;
  new MutationObserver(function (changes, observer) {
    if (!started()) return;
    observer.disconnect();
    whenStarted();
  }).observe(button, {attributes: true, attributeFilter: ['disabled']});
})();
